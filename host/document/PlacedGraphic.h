// PlacedGraphic: the content of a graphic frame: an image, an EPS or a PDF file, linked by its
// path or embedded with its bytes.
#pragma once

#include <string>
#include <vector>

#include "DocObject.h"
#include "IDFile.h"
#include "PMGeometry.h"

enum class GraphicKind {
    kImage,   // a raster image (TIFF, JPEG, PNG, GIF, BMP, PICT)
    kEPS,     // Encapsulated PostScript
    kPDF,
};

class PlacedGraphic : public DocObject {
public:
    UID frame = kInvalidUID;   // the SplineItem that shows it
    GraphicKind kind = GraphicKind::kImage;
    std::string format;        // "TIFF", "JPEG", "PNG", "GIF", "BMP", "PICT", "EPS", "PDF"
    IDFile file;               // the file it was placed from, as linked
    bool embedded = false;     // the bytes are kept in `data`, and the file is not needed
    std::vector<unsigned char> data;
    // The graphic's own extent in its inner coordinates, and the map from them to the frame's
    // inner coordinates.
    PMRect graphicBounds;
    PMMatrix itemTransform;
};
