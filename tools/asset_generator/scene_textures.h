// The scene's material textures: procedural, seamlessly tiling images written as
// PNG beside the OBJ files. Each name here is what the MTL files refer to.
#pragma once

#include <string>

namespace sceneTexture {
inline const char* const WHITE = "default.png";
inline const char* const FLOOR_WOOD = "floor-planks.png";
inline const char* const WALLPAPER = "wallpaper.png";
inline const char* const BRICK = "brick.png";
inline const char* const STONE = "hearth-stone.png";
inline const char* const DARK_WOOD = "dark-wood.png";
inline const char* const OAK_PANELLING = "oak-panelling.png";
inline const char* const SOFA_FABRIC = "sofa-fabric.png";
inline const char* const KNIT = "knit.png";
inline const char* const CURTAIN = "curtain-velvet.png";
inline const char* const RUG = "rug.png";
inline const char* const NEEDLES = "fir-needles.png";
inline const char* const BARK = "bark.png";
inline const char* const PAPER[4] = {"paper-stripes.png", "paper-dots.png", "paper-stars.png", "paper-plaid.png"};
inline const char* const PAINTING[7] = {"painting-mountains.png", "painting-lake.png",  "painting-village.png",
                                        "painting-harbour.png",   "painting-flowers.png", "painting-birches.png",
                                        "painting-windmill.png"};
inline const char* const BOOK_COVER = "book-cover.png";
inline const char* const FUR_TABBY = "fur-tabby.png";
inline const char* const FUR_GINGER = "fur-ginger.png";
inline const char* const CANDLE_WAX = "candle-wax.png";
inline const char* const CANDLE_WELL = "candle-well.png";
inline const char* const CANDLE_FLAME = "candle-flame.png";

// World units that a relief map's full height range (B = 255) stands for; the
// relief map's format is described where the maps are made (scene_textures.cpp).
inline constexpr float RELIEF_DEPTH_RANGE = 2.0f;
} // namespace sceneTexture

// The relief map made for a colour texture, for its material's specular texture
// slot; empty for a texture that has none.
std::string reliefMapFor(const std::string& colourTexture);

// Writes every texture above, and the relief maps, into `dir`.
void writeSceneTextures(const std::string& dir);
