// What the driver says about the current context's renderer: whether it is a
// software rasteriser, whose buffers live in system memory, and how much video
// memory a hardware one has. All of it needs GLEW initialised on that context.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Mesa's own word on whether the current renderer is hardware; none where the
// driver does not say.
std::optional<bool> reportedAcceleration();

// The current renderer's name; empty where the context gives none.
std::string currentRendererName();

// `accelerated` is the driver's own word where it gives one; otherwise the
// renderer's name decides (llvmpipe, softpipe, swrast and the like).
bool isSoftwareRenderer(std::optional<bool> accelerated, const std::string& renderer);

// Both, for the current context.
bool currentRendererIsSoftware();

// The video memory the current context's driver reports: what is free where it
// says so, else what it has in all; 0 where it reports none.
std::uint64_t reportedVideoMemoryBytes();
