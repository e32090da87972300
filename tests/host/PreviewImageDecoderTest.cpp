// Decoding the raster images the preview draws: each format it reads, the size limit, and bytes
// that are no image of the format named.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdint>
#include <vector>

#include "PreviewImageDecoder.h"

namespace {

void Put16(std::vector<unsigned char>& out, uint32_t v)
{
    out.push_back(v & 0xff);
    out.push_back((v >> 8) & 0xff);
}
void Put32(std::vector<unsigned char>& out, uint32_t v)
{
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}

// A 24-bit BMP `width` pixels wide and one high, every pixel `r g b`.
std::vector<unsigned char> Bmp(uint32_t width, unsigned char r, unsigned char g, unsigned char b)
{
    const uint32_t row = (width * 3 + 3) / 4 * 4;
    std::vector<unsigned char> out{'B', 'M'};
    Put32(out, 54 + row);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, width);
    Put32(out, 1);
    Put16(out, 1);
    Put16(out, 24);
    for (int i = 0; i < 6; ++i) Put32(out, 0);
    for (uint32_t x = 0; x < width; ++x) out.insert(out.end(), {b, g, r});
    out.resize(54 + row, 0);
    return out;
}

struct Decoded {
    explicit Decoded(const std::vector<unsigned char>& bytes, const char* format)
        : surface(PreviewImageDecoder::Decode(bytes, format))
    {
        if (surface) cairo_surface_flush(surface);
    }
    ~Decoded() { cairo_surface_destroy(surface); }
    int Width() const { return surface ? cairo_image_surface_get_width(surface) : 0; }
    uint32_t Pixel(int x, int y) const
    {
        const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
        return reinterpret_cast<const uint32_t*>(row)[x];
    }
    cairo_surface_t* surface;
};

} // namespace

TEST(PreviewImageDecoder, ReadsEachFormatAsOpaquePixels)
{
    // A 1 x 1 GIF whose one pixel is the first colour of its table, red.
    const std::vector<unsigned char> gif{0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0xff, 0x00,
                                         0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00,
                                         0x02, 0x02, 0x44, 0x01, 0x00, 0x3b};
    Decoded red(gif, "GIF");
    ASSERT_NE(red.surface, nullptr);
    EXPECT_EQ(red.Width(), 1);
    EXPECT_EQ(red.Pixel(0, 0), 0xffff0000u);

    Decoded green(Bmp(3, 0, 255, 0), "BMP");
    ASSERT_NE(green.surface, nullptr);
    EXPECT_EQ(green.Width(), 3);
    EXPECT_EQ(green.Pixel(2, 0), 0xff00ff00u);
}

TEST(PreviewImageDecoder, LargeImagesAreScaledDownWhileDecoded)
{
    Decoded wide(Bmp(PreviewImageDecoder::kMaxSide + 1000, 0, 0, 255), "BMP");
    ASSERT_NE(wide.surface, nullptr);
    EXPECT_EQ(wide.Width(), PreviewImageDecoder::kMaxSide);
    EXPECT_EQ(wide.Pixel(100, 0) & 0xff, 0xffu);
}

TEST(PreviewImageDecoder, NoImageGivesNoSurface)
{
    std::vector<unsigned char> bmp = Bmp(64, 10, 20, 30);
    // A header cut short before its pixels.
    std::vector<unsigned char> cut(bmp.begin(), bmp.begin() + 30);
    EXPECT_EQ(PreviewImageDecoder::Decode(cut, "BMP"), nullptr);
    EXPECT_EQ(PreviewImageDecoder::Decode({'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'}, "TIFF"), nullptr);
    EXPECT_EQ(PreviewImageDecoder::Decode({}, "JPEG"), nullptr);
    // A reader is chosen by the bytes, but only for the formats the preview draws.
    EXPECT_EQ(PreviewImageDecoder::Decode(bmp, "PICT"), nullptr);
    EXPECT_EQ(PreviewImageDecoder::Decode(bmp, "PNG"), nullptr);
}

TEST(PreviewImageDecoder, HeadersClaimingHugeImagesAreNotRead)
{
    // A GIF whose screen is 65280 x 64507 pixels and a BMP whose info header says it is 1.4 GB
    // long: either would have the reader allocate gigabytes.
    const std::vector<unsigned char> gif{'G', 'I', 'F', '8', '9', 'a', 0x00, 0xff, 0xfb, 0x80, 0x00, 0x3a, 0xff, 0x69, 0x2c,
                                         0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3b};
    EXPECT_EQ(PreviewImageDecoder::Decode(gif, "GIF"), nullptr);
    // The same GIF named as another format: its reader is chosen by its bytes, so its header is
    // checked as a GIF's.
    for (const char* named : {"JPEG", "TIFF", "BMP"}) EXPECT_EQ(PreviewImageDecoder::Decode(gif, named), nullptr) << named;
    std::vector<unsigned char> bmp = Bmp(4, 1, 2, 3);
    bmp[14] = 0x1e;
    bmp[15] = 0x3c;
    bmp[16] = 0x5a;
    bmp[17] = 0x58;
    EXPECT_EQ(PreviewImageDecoder::Decode(bmp, "BMP"), nullptr);
    // A BMP that says it is 20000 x 20000 pixels.
    std::vector<unsigned char> wide = Bmp(4, 1, 2, 3);
    wide[18] = wide[22] = 0x20;
    wide[19] = wide[23] = 0x4e;
    EXPECT_EQ(PreviewImageDecoder::Decode(wide, "BMP"), nullptr);
    // A BMP whose pixels would start 3 GB into a file of a few bytes.
    std::vector<unsigned char> far = Bmp(4, 1, 2, 3);
    far[13] = 0xc0;
    EXPECT_EQ(PreviewImageDecoder::Decode(far, "BMP"), nullptr);
    // A BMP whose colour table would hold 2^32 - 1 entries.
    std::vector<unsigned char> colours = Bmp(4, 1, 2, 3);
    colours[46] = colours[47] = colours[48] = colours[49] = 0xff;
    EXPECT_EQ(PreviewImageDecoder::Decode(colours, "BMP"), nullptr);
}
