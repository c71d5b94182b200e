// Images for the sky faces and the particle atlases, decoded through FreeImage
// into 32-bit BGRA rows, bottom row of the image first.
#pragma once

#include <string>

struct FIBITMAP;

class ImageFile {
public:
    // Ends the process with "Error loading Image", the console pause and status
    // -1 when the file is missing, undecodable or empty.
    explicit ImageFile(const std::string& path);
    ~ImageFile();

    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    unsigned width = 0;
    unsigned height = 0;
    const unsigned char* pixels = nullptr;

private:
    FIBITMAP* bitmap = nullptr;
};
