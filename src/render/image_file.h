// Images for the sky faces and the particle atlases, decoded through FreeImage
// into 32-bit BGRA rows, bottom row of the image first.
#pragma once

#include "platform/non_copyable.h"

#include <string>

struct FIBITMAP;

class ImageFile : NonCopyable {
public:
    // Ends the process with "Error loading Image", the console pause and status
    // -1 when the file is missing, undecodable or empty.
    explicit ImageFile(const std::string& path);
    ~ImageFile();

    unsigned width = 0;
    unsigned height = 0;
    const unsigned char* pixels = nullptr;

private:
    FIBITMAP* bitmap = nullptr;
};
