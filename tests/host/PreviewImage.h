// PreviewImage: a PNG image read back with cairo, to look at the pixels a preview drew; and
// CountPdfPages, the page objects of a PDF preview.
#pragma once

#include <cairo.h>

#include <cstring>
#include <string>
#include <string_view>

// The page objects ("/Type /Page", not the "/Type /Pages" tree) of a PDF file.
inline int CountPdfPages(std::string_view pdf)
{
    constexpr std::string_view kPage = "/Type /Page";
    int count = 0;
    for (size_t at = pdf.find(kPage); at != std::string_view::npos; at = pdf.find(kPage, at + 1))
        if (at + kPage.size() < pdf.size() && pdf[at + kPage.size()] != 's') ++count;
    return count;
}

class PreviewImage {
public:
    explicit PreviewImage(std::string_view png) : mPng(png)
    {
        mSurface = cairo_image_surface_create_from_png_stream(&PreviewImage::Read, this);
        if (cairo_surface_status(mSurface) != CAIRO_STATUS_SUCCESS) return;
        cairo_surface_flush(mSurface);
        mWidth = cairo_image_surface_get_width(mSurface);
        mHeight = cairo_image_surface_get_height(mSurface);
    }
    ~PreviewImage() { cairo_surface_destroy(mSurface); }
    PreviewImage(const PreviewImage&) = delete;
    PreviewImage& operator=(const PreviewImage&) = delete;

    bool IsValid() const { return mWidth > 0; }
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    // The pixel's channels 0..255; white outside the image.
    void Pixel(int x, int y, int& red, int& green, int& blue) const
    {
        red = green = blue = 255;
        if (x < 0 || y < 0 || x >= mWidth || y >= mHeight) return;
        const unsigned char* row = cairo_image_surface_get_data(mSurface) + y * cairo_image_surface_get_stride(mSurface);
        uint32_t argb;
        std::memcpy(&argb, row + 4 * x, 4);
        red = (argb >> 16) & 0xff;
        green = (argb >> 8) & 0xff;
        blue = argb & 0xff;
    }
    bool IsInk(int x, int y) const
    {
        int r, g, b;
        Pixel(x, y, r, g, b);
        return r < 200 || g < 200 || b < 200;
    }
    bool IsRed(int x, int y) const
    {
        int r, g, b;
        Pixel(x, y, r, g, b);
        return r > 180 && g < 100 && b < 100;
    }
    // How many pixels of [left, right) x [top, bottom) `test` holds for.
    template <class Test>
    int Count(int left, int top, int right, int bottom, Test test) const
    {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (test(x, y)) ++count;
        return count;
    }
    int InkIn(int left, int top, int right, int bottom) const
    {
        return Count(left, top, right, bottom, [this](int x, int y) { return IsInk(x, y); });
    }

private:
    static cairo_status_t Read(void* closure, unsigned char* data, unsigned int length)
    {
        auto* self = static_cast<PreviewImage*>(closure);
        if (self->mPng.size() < length) return CAIRO_STATUS_READ_ERROR;
        std::memcpy(data, self->mPng.data(), length);
        self->mPng.remove_prefix(length);
        return CAIRO_STATUS_SUCCESS;
    }

    std::string_view mPng;
    cairo_surface_t* mSurface = nullptr;
    int mWidth = 0, mHeight = 0;
};
