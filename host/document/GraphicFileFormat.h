// GraphicFileFormat: what kind of graphic a file holds, told by its first bytes (and for PICT,
// which has no signature, by its name), the pixel size of PNG, GIF, BMP, TIFF and JPEG images, and
// the size an EPS file gives itself.
#pragma once

#include <string>
#include <vector>

#include "IDFile.h"
#include "PlacedGraphic.h"

struct GraphicFileFormat {
    bool known = false;       // false: the bytes are no graphic the host places
    GraphicKind kind = GraphicKind::kImage;
    std::string format;       // as PlacedGraphic::format
    int32 pixelWidth = 0;     // 0 when not known
    int32 pixelHeight = 0;
    // The pixels an inch that a PNG, JPEG, TIFF or BMP image gives itself, across and down; 0
    // when it gives none (the image is then taken at 72).
    double resolutionX = 0;
    double resolutionY = 0;
    // An EPS file's own extent in points, from its bounding box comment; 0 when not known.
    double epsWidth = 0;
    double epsHeight = 0;

    // The format of `bytes` (the whole file or at least its first 64 KB); `name` is the file's
    // name, looked at for PICT only.
    static GraphicFileFormat Detect(const std::vector<unsigned char>& bytes, const PMString& name);
    // The format that the extension of `name` suggests, without looking at the file: ".eps" and
    // ".ps" EPS, ".pdf" PDF, the image extensions their image format; other names are images of
    // an unknown format ("").
    static GraphicFileFormat FromName(const PMString& name);
    // Reads the whole of a regular file into `bytes`; false (bytes empty) when it is missing,
    // a folder or a device, cannot be read, or is larger than `limit` bytes.
    static bool ReadFile(const IDFile& file, std::vector<unsigned char>& bytes, size_t limit = size_t(1) << 30);
};
