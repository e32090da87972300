// PreviewImageDecoder: turns the bytes of a placed raster image into a cairo image surface for the
// preview. PNG is read by cairo itself; TIFF, JPEG, GIF and BMP (the formats FrameMaker files
// embed or link) by gdk-pixbuf's loaders. An image larger than the preview can use is scaled
// down while it is decoded; one whose header claims more than 100 million pixels, or a header of
// a kind its format does not have, is not read at all, so a hostile header cannot make it
// allocate without bound.
// Bytes that are no image of a format it reads give no surface (the caller draws a
// placeholder).
#pragma once

#include <string>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace PreviewImageDecoder {
// The longest side, in pixels, an image is decoded at.
constexpr int kMaxSide = 4096;
// The most pixels an image may say it has; a larger one is not drawn.
constexpr unsigned long long kMaxDeclaredPixels = 100'000'000;
// A new surface (the caller destroys it), or null.
cairo_surface_t* Decode(const std::vector<unsigned char>& bytes, const std::string& format);
}
