// PreviewWriter: the pages of a document drawn as a PDF file or as PNG images, with cairo.
//
// It reads the host document and the composition the host keeps with it (it composes nothing and
// changes nothing): each page is drawn by PreviewPainter. A PDF has one page per document page,
// of the page's size in points, its text as text in the embedded faces. PNG images are drawn at
// PreviewOptions::dpi, on white; a page that would be larger than an image can be
// (kMaxImageSide pixels a side, kMaxImagePixels in all) is drawn at the highest resolution that
// fits, and says so.
//
// What could not be drawn (a face whose file cannot be loaded, an EPS file Ghostscript cannot
// draw, a page drawn smaller) is returned as problems, one line each, and the rest is drawn: a
// problem never stops the preview.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "PMTypes.h"
#include "PreviewOptions.h"

class DataBase;

class PreviewWriter {
public:
    // cairo's limit for the side of an image, and ours for its size (400 MB of pixels).
    static constexpr int32 kMaxImageSide = 32767;
    static constexpr int64 kMaxImagePixels = 100'000'000;
    // The resolutions --dpi accepts.
    static constexpr double kMinDpi = 10;
    static constexpr double kMaxDpi = 1200;

    // The document's pages as one PDF file in `bytes`. kSuccess; kInvalidParameterError when the
    // document has no pages, or its text was composed without glyphs (TextComposer::SetKeepGlyphs);
    // kOutOfMemoryError when cairo cannot make or finish the file.
    static ErrorCode BuildPdf(const DataBase& db, const PreviewOptions& options, std::string* bytes,
                              std::vector<std::string>* problems);

    // Receives the PNG image of page `number` (from 1); anything but kSuccess stops the preview
    // and is returned by BuildPngs.
    using ImageSink = std::function<ErrorCode(int32 number, std::string_view png)>;
    // Draws each page as a PNG image and hands it to `sink`, in page order, one at a time (the
    // images are never all in memory). The errors of BuildPdf, or the sink's.
    static ErrorCode BuildPngs(const DataBase& db, const PreviewOptions& options, const ImageSink& sink,
                               std::vector<std::string>* problems);

    // The resolution a page of `width` x `height` points is drawn at for `dpi`: `dpi` itself,
    // or less, so that the image fits the limits above.
    static double FitResolution(PMReal width, PMReal height, double dpi);
};
