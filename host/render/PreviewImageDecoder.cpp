#include "PreviewImageDecoder.h"

#include <cairo.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

struct PngReader {
    const std::vector<unsigned char>* bytes;
    size_t at = 0;
};

cairo_status_t ReadPng(void* closure, unsigned char* data, unsigned int length)
{
    auto* reader = static_cast<PngReader*>(closure);
    if (length > reader->bytes->size() - reader->at) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, reader->bytes->data() + reader->at, length);
    reader->at += length;
    return CAIRO_STATUS_SUCCESS;
}

cairo_surface_t* DecodePng(const std::vector<unsigned char>& bytes)
{
    PngReader reader{&bytes};
    cairo_surface_t* image = cairo_image_surface_create_from_png_stream(ReadPng, &reader);
    if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS) return image;
    cairo_surface_destroy(image);
    return nullptr;
}

// Scales an image announced larger than the preview can use down to kMaxSide on its longest side.
void LimitSize(GdkPixbufLoader* loader, int width, int height, gpointer)
{
    using PreviewImageDecoder::kMaxSide;
    if (width <= 0 || height <= 0) return;
    if (width <= kMaxSide && height <= kMaxSide) return;
    double scale = static_cast<double>(kMaxSide) / std::max(width, height);
    gdk_pixbuf_loader_set_size(loader, std::max(1, static_cast<int>(width * scale)), std::max(1, static_cast<int>(height * scale)));
}

// The pixbuf's pixels as cairo's premultiplied native-endian ARGB.
cairo_surface_t* SurfaceOf(GdkPixbuf* pixbuf)
{
    const int width = gdk_pixbuf_get_width(pixbuf), height = gdk_pixbuf_get_height(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf);
    if (width <= 0 || height <= 0 || gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 || channels < (alpha ? 4 : 3)) return nullptr;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_surface_flush(surface);
    const guchar* pixels = gdk_pixbuf_read_pixels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    unsigned char* out = cairo_image_surface_get_data(surface);
    const int outStride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        const guchar* in = pixels + static_cast<size_t>(y) * static_cast<size_t>(stride);
        auto* row = reinterpret_cast<uint32_t*>(out + static_cast<size_t>(y) * static_cast<size_t>(outStride));
        for (int x = 0; x < width; ++x, in += channels) {
            uint32_t a = alpha ? in[3] : 255;
            auto premultiply = [a](uint32_t c) { return (c * a + 127) / 255; };
            row[x] = (a << 24) | (premultiply(in[0]) << 16) | (premultiply(in[1]) << 8) | premultiply(in[2]);
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

uint32_t Little32(const std::vector<unsigned char>& bytes, size_t at)
{
    return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 | static_cast<uint32_t>(bytes[at + 2]) << 16 |
           static_cast<uint32_t>(bytes[at + 3]) << 24;
}

uint32_t Little16(const std::vector<unsigned char>& bytes, size_t at)
{
    return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8;
}

uint32_t Big32(const std::vector<unsigned char>& bytes, size_t at)
{
    return static_cast<uint32_t>(bytes[at]) << 24 | static_cast<uint32_t>(bytes[at + 1]) << 16 | static_cast<uint32_t>(bytes[at + 2]) << 8 |
           static_cast<uint32_t>(bytes[at + 3]);
}

bool TooLarge(uint64_t width, uint64_t height)
{
    return width * height > PreviewImageDecoder::kMaxDeclaredPixels;
}

// Whether the image's headers are of a kind its format has, with a size the preview may read.
// The readers allocate what the headers say before they look further (a GIF's whole screen, a
// BMP's info header, a PNG's rows), so a damaged or hostile header would have them ask for
// gigabytes; JPEG and TIFF readers are scaled down as they decode instead.
bool PlausibleHeader(const std::vector<unsigned char>& bytes, const std::string& format)
{
    if (format == "PNG") return bytes.size() >= 24 && !TooLarge(Big32(bytes, 16), Big32(bytes, 20));
    if (format == "GIF") return bytes.size() >= 10 && !TooLarge(Little16(bytes, 6), Little16(bytes, 8));
    if (format == "BMP") {
        if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') return false;
        // The reader keeps what comes before the pixels until it reaches them: an offset past
        // the file's end would have it grow a buffer to the size the offset says.
        if (Little32(bytes, 10) > bytes.size()) return false;
        const uint32_t infoSize = Little32(bytes, 14);
        bool known = false;
        for (uint32_t size : {12u, 16u, 40u, 52u, 56u, 64u, 108u, 124u}) known = known || infoSize == size;
        if (!known) return false;
        if (infoSize == 12) return !TooLarge(Little16(bytes, 18), Little16(bytes, 20));
        auto magnitude = [](uint32_t v) { return static_cast<uint64_t>(v & 0x80000000u ? 0u - v : v); };
        if (TooLarge(magnitude(Little32(bytes, 18)), magnitude(Little32(bytes, 22)))) return false;
        // The colour table is allocated at the size the header gives before it is read; no BMP
        // needs more than 256 entries (palettes exist for 8 bits a pixel and fewer).
        return infoSize < 40 || bytes.size() < 50 || Little32(bytes, 46) <= 256;
    }
    return true;
}

// The format the bytes themselves are, where their signature says: gdk-pixbuf picks its reader
// by the bytes, not by the format the document names, so a GIF named JPEG is read as a GIF
// and its header must be checked as one. `named` otherwise.
std::string ContentFormat(const std::vector<unsigned char>& bytes, const std::string& named)
{
    auto startsWith = [&bytes](std::string_view signature) {
        return bytes.size() >= signature.size() && std::equal(signature.begin(), signature.end(), bytes.begin(),
                                                              [](char a, unsigned char b) { return static_cast<unsigned char>(a) == b; });
    };
    if (startsWith("\x89PNG\r\n\x1a\n")) return "PNG";
    if (startsWith("GIF8")) return "GIF";
    if (startsWith("BM")) return "BMP";
    return named;
}

cairo_surface_t* DecodeWithPixbuf(const std::vector<unsigned char>& bytes)
{
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    if (!loader) return nullptr;
    g_signal_connect(loader, "size-prepared", G_CALLBACK(LimitSize), nullptr);
    GError* error = nullptr;
    bool read = gdk_pixbuf_loader_write(loader, bytes.data(), bytes.size(), &error);
    if (error) g_clear_error(&error);
    // Closing ends the decoding; a reader that cannot make an image of what it got reports it.
    bool closed = gdk_pixbuf_loader_close(loader, &error);
    if (error) g_clear_error(&error);
    cairo_surface_t* surface = nullptr;
    if (read && closed)
        if (GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader)) surface = SurfaceOf(pixbuf);
    g_object_unref(loader);
    return surface;
}

} // namespace

cairo_surface_t* PreviewImageDecoder::Decode(const std::vector<unsigned char>& bytes, const std::string& format)
{
    if (bytes.empty()) return nullptr;
    if (!PlausibleHeader(bytes, ContentFormat(bytes, format))) return nullptr;
    if (format == "PNG") return DecodePng(bytes);
    // PICT and anything unknown is left to the placeholder; gdk-pixbuf has no PICT reader.
    if (format == "TIFF" || format == "JPEG" || format == "GIF" || format == "BMP") return DecodeWithPixbuf(bytes);
    return nullptr;
}
