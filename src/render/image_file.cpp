// FreeImage decoding with the program's one fatal message for a bad image.
#include "render/image_file.h"

#include "platform/console.h"
#include "platform/native_path.h"

#include <FreeImage.h>

#include <cstdlib>
#include <iostream>

namespace {

[[noreturn]] void failImage()
{
    std::cout << "Error loading Image" << std::endl;
    pauseConsole();
    std::exit(-1);
}

} // namespace

ImageFile::ImageFile(const std::string& path)
{
    const std::string file = nativePath(path);
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(file.c_str(), 0);
    // Check the decoded image before converting it: the converter does not accept a null bitmap.
    FIBITMAP* decoded = format == FIF_UNKNOWN ? nullptr : FreeImage_Load(format, file.c_str(), 0);
    if (decoded == nullptr)
        failImage();
    bitmap = FreeImage_ConvertTo32Bits(decoded);
    FreeImage_Unload(decoded);
    if (bitmap == nullptr)
        failImage();

    width = FreeImage_GetWidth(bitmap);
    height = FreeImage_GetHeight(bitmap);
    pixels = FreeImage_GetBits(bitmap);
    if (pixels == nullptr || width == 0 || height == 0)
        failImage();
}

ImageFile::~ImageFile()
{
    FreeImage_Unload(bitmap);
}
