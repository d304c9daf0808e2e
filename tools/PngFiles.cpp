#include "tools/PngFiles.h"

#include "platform/classlib/Exception.h"
#include "platform/classlib/Files.h"

#include <png.h>

namespace Tools {

using ClassLib::Exception;
using ClassLib::Format;

TPicture LoadPng(const AnsiString& fileName) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    const AnsiString path = ClassLib::NativePath(fileName);
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        throw Exception(Format("Cannot read PNG file '%s': %s", fileName, image.message));
    // BGRA bytes are little-endian 0xAARRGGBB words.
    image.format = PNG_FORMAT_BGRA;
    TPicture picture{int(image.width), int(image.height), {}};
    picture.Pixels.resize(size_t(image.width) * image.height);
    if (image.width > 0x7FFF || image.height > 0x7FFF ||
        !png_image_finish_read(&image, nullptr, picture.Pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        throw Exception(Format("Cannot read PNG file '%s': %s", fileName,
                               image.warning_or_error ? image.message : "too large"));
    }
    return picture;
}

void SavePng(const AnsiString& fileName, const TPicture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(picture.Width);
    image.height = png_uint_32(picture.Height);
    image.format = PNG_FORMAT_BGRA;
    const AnsiString path = ClassLib::NativePath(fileName);
    if (!png_image_write_to_file(&image, path.c_str(), 0, picture.Pixels.data(), 0, nullptr))
        throw Exception(Format("Cannot write PNG file '%s': %s", fileName, image.message));
}

} // namespace Tools
