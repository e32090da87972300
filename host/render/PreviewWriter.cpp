#include "PreviewWriter.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "DataBase.h"
#include "Document.h"
#include "PreviewEpsRenderer.h"
#include "PreviewFaces.h"
#include "PreviewPainter.h"
#include "Spread.h"
#include "TextComposer.h"

namespace {

constexpr double kPointsPerInch = 72;

cairo_status_t AppendTo(void* closure, const unsigned char* data, unsigned int length)
{
    try {
        static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    } catch (...) {
        return CAIRO_STATUS_NO_MEMORY;
    }
    return CAIRO_STATUS_SUCCESS;
}

std::vector<const Page*> PagesOf(const DataBase& db)
{
    std::vector<const Page*> pages;
    if (const Document* document = db.GetDocument())
        for (UID uid : document->GetPages())
            if (const Page* page = db.Get<Page>(uid)) pages.push_back(page);
    return pages;
}

// A page side cairo and PDF readers can hold, in points (the model allows no less and no more).
double Side(PMReal side) { return std::clamp<double>(side, 1, 15552); }

void AddProblems(const PreviewFaces& faces, const PreviewEpsRenderer& pictures, std::vector<std::string>* problems)
{
    if (!problems) return;
    problems->insert(problems->end(), faces.GetProblems().begin(), faces.GetProblems().end());
    problems->insert(problems->end(), pictures.GetProblems().begin(), pictures.GetProblems().end());
}

std::string Format(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", std::floor(value * 10) / 10);
    return text;
}

// Lines composed without their glyphs (TextComposer::SetKeepGlyphs) have nothing to draw: the
// preview is refused rather than drawn without its text.
bool GlyphsKept(std::vector<std::string>* problems)
{
    if (TextComposer::Get().KeepsGlyphs()) return true;
    if (problems) problems->push_back("the text was composed without its glyphs: no page is drawn");
    return false;
}

} // namespace

double PreviewWriter::FitResolution(PMReal width, PMReal height, double dpi)
{
    double w = Side(width), h = Side(height);
    double fit = std::min(dpi, kMaxImageSide * kPointsPerInch / std::max(w, h));
    double area = (w * fit / kPointsPerInch) * (h * fit / kPointsPerInch);
    if (area > static_cast<double>(kMaxImagePixels)) fit *= std::sqrt(static_cast<double>(kMaxImagePixels) / area);
    // Whole tenths, rounded down, so the image is within the limits after rounding its size.
    return std::max(std::floor(fit * 10) / 10, 0.1);
}

ErrorCode PreviewWriter::BuildPdf(const DataBase& db, const PreviewOptions& options, std::string* bytes,
                                  std::vector<std::string>* problems)
{
    std::vector<const Page*> pages = PagesOf(db);
    if (pages.empty() || !GlyphsKept(problems)) return kInvalidParameterError;
    std::string out;
    cairo_surface_t* surface =
        cairo_pdf_surface_create_for_stream(AppendTo, &out, Side(pages.front()->width), Side(pages.front()->height));
    cairo_t* cr = cairo_create(surface);
    PreviewFaces faces;
    PreviewEpsRenderer pictures;
    PreviewPainter painter(db, options, faces, pictures);
    for (const Page* page : pages) {
        // The size of a page applies from the page set up after it.
        cairo_pdf_surface_set_size(surface, Side(page->width), Side(page->height));
        painter.DrawPage(cr, *page);
        cairo_show_page(cr);
        if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) break;
    }
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    AddProblems(faces, pictures, problems);
    if (status != CAIRO_STATUS_SUCCESS) return kOutOfMemoryError;
    if (bytes) *bytes = std::move(out);
    return kSuccess;
}

ErrorCode PreviewWriter::BuildPngs(const DataBase& db, const PreviewOptions& options, const ImageSink& sink,
                                   std::vector<std::string>* problems)
{
    std::vector<const Page*> pages = PagesOf(db);
    if (pages.empty() || !GlyphsKept(problems)) return kInvalidParameterError;
    PreviewFaces faces;
    PreviewEpsRenderer pictures;
    PreviewPainter painter(db, options, faces, pictures);
    ErrorCode result = kSuccess;
    std::string png;
    for (size_t i = 0; i < pages.size() && result == kSuccess; ++i) {
        const Page& page = *pages[i];
        const int32 number = static_cast<int32>(i + 1);
        double dpi = FitResolution(page.width, page.height, options.dpi);
        if (dpi < options.dpi && problems)
            problems->push_back("page " + std::to_string(number) + " is too large for an image at " + Format(options.dpi) +
                                " dpi; it is drawn at " + Format(dpi) + " dpi");
        double scale = dpi / kPointsPerInch;
        int width = std::max(1, static_cast<int>(std::ceil(Side(page.width) * scale - 1e-6)));
        int height = std::max(1, static_cast<int>(std::ceil(Side(page.height) * scale - 1e-6)));
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
        cairo_t* cr = cairo_create(surface);
        cairo_scale(cr, scale, scale);
        painter.DrawPage(cr, page);
        cairo_surface_flush(surface);
        png.clear();
        if (cairo_status(cr) != CAIRO_STATUS_SUCCESS || cairo_surface_write_to_png_stream(surface, AppendTo, &png) != CAIRO_STATUS_SUCCESS)
            result = kOutOfMemoryError;
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        if (result == kSuccess) result = sink(number, png);
    }
    AddProblems(faces, pictures, problems);
    return result;
}
