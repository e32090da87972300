// Feeds arbitrary bytes to the preview's image decoder as each raster format it reads (the first
// byte picks the format): any input must give an image or none, never a crash or a read outside
// the decoded pixels.
#include <cairo.h>

#include <cstdint>
#include <vector>

#include "PreviewImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    static const char* const kFormats[] = {"PNG", "TIFF", "JPEG", "GIF", "BMP"};
    const char* format = kFormats[data[0] % 5];
    std::vector<unsigned char> bytes(data + 1, data + size);
    if (cairo_surface_t* image = PreviewImageDecoder::Decode(bytes, format)) {
        // Touch every pixel, so that a surface smaller than it says is caught.
        cairo_surface_flush(image);
        const unsigned char* pixels = cairo_image_surface_get_data(image);
        const int stride = cairo_image_surface_get_stride(image);
        unsigned sum = 0;
        for (int y = 0; y < cairo_image_surface_get_height(image); ++y)
            for (int x = 0; x < cairo_image_surface_get_width(image) * 4; ++x) sum += pixels[y * stride + x];
        (void)sum;
        cairo_surface_destroy(image);
    }
    return 0;
}
