#include "PreviewGraphicPainter.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <cstring>
#include <iterator>

#include "DataBase.h"
#include "GroupItem.h"
#include "FontCache.h"
#include "GraphicFileFormat.h"
#include "PlacedGraphic.h"
#include "PreviewEpsRenderer.h"
#include "PreviewFaces.h"
#include "PreviewImageDecoder.h"
#include "SplineItem.h"
#include "TextComposer.h"

namespace {

// A hairline for strokes of weight 0, as a printer draws them.
constexpr double kHairline = 0.25;
// The resolution EPS pictures are drawn at in a PDF (whose device unit is the point).
constexpr double kVectorPicturesPerPoint = 300.0 / 72.0;
// The largest EPS file read.
constexpr size_t kMaxEpsBytes = size_t(64) << 20;

void AddPath(cairo_t* cr, const std::vector<PMPathPoint>& points, bool open)
{
    if (points.empty()) return;
    cairo_new_path(cr);
    cairo_move_to(cr, points[0].anchor.x, points[0].anchor.y);
    size_t count = points.size();
    for (size_t i = 1; i < count + (open ? 0 : 1); ++i) {
        const PMPathPoint& from = points[i - 1];
        const PMPathPoint& to = points[i % count];
        cairo_curve_to(cr, from.right.x, from.right.y, to.left.x, to.left.y, to.anchor.x, to.anchor.y);
    }
    if (!open) cairo_close_path(cr);
}

// A simple arrowhead at `tip`, pointing away from `from`.
void AddArrowHead(cairo_t* cr, PMPoint tip, PMPoint from, double weight)
{
    double dx = tip.x - from.x, dy = tip.y - from.y, length = std::hypot(dx, dy);
    if (!(length > 1e-8)) return;
    dx /= length;
    dy /= length;
    double size = std::max(4.0, weight * 4), spread = size * 0.5;
    cairo_move_to(cr, tip.x - dx * size - dy * spread, tip.y - dy * size + dx * spread);
    cairo_line_to(cr, tip.x, tip.y);
    cairo_line_to(cr, tip.x - dx * size + dy * spread, tip.y - dy * size - dx * spread);
}

} // namespace

bool PreviewGraphicPainter::Draw(cairo_t* cr, const PageItem& item)
{
    if (const auto* spline = dynamic_cast<const SplineItem*>(&item)) {
        DrawSpline(cr, *spline);
        return true;
    }
    if (const auto* group = dynamic_cast<const GroupItem*>(&item)) {
        DrawGroup(cr, *group);
        return true;
    }
    return false;
}

bool PreviewGraphicPainter::SetColor(cairo_t* cr, UID swatch, double tint)
{
    PreviewColor color;
    if (swatch == kInvalidUID || !mColors.Resolve(swatch, color)) return false;
    if (tint >= 0 && tint <= 100) color = Mixed(color, tint / 100);
    cairo_set_source_rgb(cr, color.red, color.green, color.blue);
    return true;
}

void PreviewGraphicPainter::DrawSpline(cairo_t* cr, const SplineItem& spline)
{
    const GraphicAttributes& g = spline.graphics;
    std::vector<PMPathPoint> points = spline.GetPathPoints();
    cairo_save(cr);
    bool rounded = spline.kind == SplineKind::kRectangle && g.roundedCorners && g.cornerRadius > 0;
    auto addOutline = [&] {
        if (!rounded) return AddPath(cr, points, spline.IsOpen());
        const PMRect& b = spline.pathBounds;
        double r = std::min({g.cornerRadius, b.Width() / 2, b.Height() / 2});
        cairo_new_path(cr);
        cairo_arc(cr, b.right - r, b.top + r, r, -std::numbers::pi / 2, 0);
        cairo_arc(cr, b.right - r, b.bottom - r, r, 0, std::numbers::pi / 2);
        cairo_arc(cr, b.left + r, b.bottom - r, r, std::numbers::pi / 2, std::numbers::pi);
        cairo_arc(cr, b.left + r, b.top + r, r, std::numbers::pi, 3 * std::numbers::pi / 2);
        cairo_close_path(cr);
    };
    if (!spline.IsOpen() && SetColor(cr, g.fillColor, g.fillTint)) {
        addOutline();
        cairo_fill(cr);
    }
    if (const PlacedGraphic* graphic = mDB.Get<PlacedGraphic>(spline.graphic)) {
        cairo_save(cr);
        addOutline();
        cairo_clip(cr);
        DrawGraphic(cr, spline, *graphic);
        cairo_restore(cr);
    }
    if (SetColor(cr, g.strokeColor, g.strokeTint)) {
        double weight = g.strokeWeight > 0 ? g.strokeWeight : kHairline;
        cairo_set_line_width(cr, weight);
        addOutline();
        cairo_stroke(cr);
        if (spline.IsOpen() && points.size() >= 2) {
            cairo_new_path(cr);
            if (g.startLineEnd == LineEnd::kSimpleArrowHead) {
                const PMPathPoint& first = points.front();
                PMPoint from = first.right == first.anchor ? points[1].anchor : first.right;
                AddArrowHead(cr, first.anchor, from, weight);
            }
            if (g.endLineEnd == LineEnd::kSimpleArrowHead) {
                const PMPathPoint& last = points.back();
                PMPoint from = last.left == last.anchor ? points[points.size() - 2].anchor : last.left;
                AddArrowHead(cr, last.anchor, from, weight);
            }
            cairo_stroke(cr);
        }
    }
    cairo_restore(cr);
}

void PreviewGraphicPainter::DrawGroup(cairo_t* cr, const GroupItem& group)
{
    for (UID uid : group.children) {
        const PageItem* child = mDB.Get<PageItem>(uid);
        if (!child || child->parent != group.GetUID()) continue;   // a child listed elsewhere too is drawn there
        cairo_save(cr);
        const PMMatrix& m = child->itemTransform;
        cairo_matrix_t matrix = {m.a, m.b, m.c, m.d, m.tx, m.ty};
        if (std::abs(m.a * m.d - m.b * m.c) > 1e-12) {
            cairo_transform(cr, &matrix);
            mDrawChild(cr, *child);
        }
        cairo_restore(cr);
    }
}

void PreviewGraphicPainter::DrawGraphic(cairo_t* cr, const SplineItem& frame, const PlacedGraphic& graphic)
{
    cairo_surface_t* image = nullptr;
    if (graphic.kind == GraphicKind::kImage) {
        std::vector<unsigned char> linked;
        if (!graphic.embedded) {
            // A linked file is read only now, to be drawn, and only when it is a regular file.
            GraphicFileFormat::ReadFile(graphic.file, linked);
        }
        image = PreviewImageDecoder::Decode(graphic.embedded ? graphic.data : linked, graphic.format);
    } else if (graphic.kind == GraphicKind::kEPS) {
        image = EpsPicture(cr, graphic);
    }
    if (!image) return DrawPlaceholder(cr, frame, graphic);
    const PMRect& b = graphic.graphicBounds;
    int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
    if (width > 0 && height > 0 && b.Width() > 0 && b.Height() > 0) {
        cairo_save(cr);
        const PMMatrix& m = graphic.itemTransform;
        cairo_matrix_t matrix = {m.a, m.b, m.c, m.d, m.tx, m.ty};
        cairo_transform(cr, &matrix);
        cairo_translate(cr, b.left, b.top);
        cairo_scale(cr, b.Width() / width, b.Height() / height);
        // The pixels reach the image's edges, sharp there however far it is scaled up.
        cairo_rectangle(cr, 0, 0, width, height);
        cairo_clip(cr);
        cairo_set_source_surface(cr, image, 0, 0);
        cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
        cairo_paint(cr);
        cairo_restore(cr);
    }
    cairo_surface_destroy(image);
}

cairo_surface_t* PreviewGraphicPainter::EpsPicture(cairo_t* cr, const PlacedGraphic& graphic)
{
    const PMRect& b = graphic.graphicBounds;
    if (!(b.Width() > 0) || !(b.Height() > 0)) return nullptr;
    // The device pixels the bounding box covers, as placed.
    cairo_save(cr);
    const PMMatrix& m = graphic.itemTransform;
    cairo_matrix_t matrix = {m.a, m.b, m.c, m.d, m.tx, m.ty};
    cairo_transform(cr, &matrix);
    double acrossX = b.Width(), acrossY = 0, downX = 0, downY = b.Height();
    cairo_user_to_device_distance(cr, &acrossX, &acrossY);
    cairo_user_to_device_distance(cr, &downX, &downY);
    cairo_restore(cr);
    double width = std::hypot(acrossX, acrossY), height = std::hypot(downX, downY);
    if (cairo_surface_get_type(cairo_get_target(cr)) != CAIRO_SURFACE_TYPE_IMAGE) {
        width *= kVectorPicturesPerPoint;
        height *= kVectorPicturesPerPoint;
    }
    if (!std::isfinite(width) || !std::isfinite(height)) return nullptr;
    const double fit = std::min(1.0, PreviewEpsRenderer::kMaxSide / std::max({width, height, 1.0}));
    const int pixelsX = std::clamp(static_cast<int>(std::ceil(width * fit - 1e-6)), 1, PreviewEpsRenderer::kMaxSide);
    const int pixelsY = std::clamp(static_cast<int>(std::ceil(height * fit - 1e-6)), 1, PreviewEpsRenderer::kMaxSide);
    // Each file is read and drawn once a size; one that failed is not tried again.
    const std::string key = graphic.embedded ? "embedded " + std::to_string(graphic.GetUID()) : graphic.file.GetPath().string();
    if (mPictures.HasFailed(key)) return nullptr;
    std::vector<unsigned char> bytes;
    if (!mPictures.IsKept(key, pixelsX, pixelsY) && !graphic.embedded) {
        // A missing link is the import's to report; the preview shows its placeholder.
        if (!GraphicFileFormat::ReadFile(graphic.file, bytes, kMaxEpsBytes)) return nullptr;
    }
    cairo_surface_t* picture = mPictures.Render(key, graphic.file.GetFileName().GetUTF8String(), graphic.embedded ? graphic.data : bytes,
                                                pixelsX, pixelsY);
    return picture ? cairo_surface_reference(picture) : nullptr;
}

void PreviewGraphicPainter::DrawPlaceholder(cairo_t* cr, const SplineItem& frame, const PlacedGraphic& graphic)
{
    const PMRect& b = frame.pathBounds;
    cairo_save(cr);
    cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
    cairo_rectangle(cr, b.left, b.top, b.Width(), b.Height());
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
    cairo_set_line_width(cr, 0.5);
    cairo_move_to(cr, b.left, b.top);
    cairo_line_to(cr, b.right, b.bottom);
    cairo_move_to(cr, b.right, b.top);
    cairo_line_to(cr, b.left, b.bottom);
    cairo_stroke(cr);
    // The name in the composer's own faces (cairo's toy fonts would keep fontconfig data alive).
    FontCache& fonts = TextComposer::Get().GetFontCache();
    const FontFaceEntry* entry = fonts.GetFace(PMString("DejaVu Sans"), PMString("Book"));
    cairo_font_face_t* face = mFaces.Get(entry);
    if (face) {
        constexpr double kSize = 7;
        const ShapedText& shaped = fonts.Shape(entry, graphic.file.GetFileName().GetUTF16());
        std::vector<cairo_glyph_t> glyphs;
        double x = b.left + 3;
        for (size_t i = 0; i < shaped.glyphs.size() && i < shaped.advances.size(); ++i) {
            glyphs.push_back(cairo_glyph_t{shaped.glyphs[i], x, b.top + 10});
            x += shaped.advances[i] * kSize;
        }
        cairo_set_font_face(cr, face);
        cairo_set_font_size(cr, kSize);
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        cairo_show_glyphs(cr, glyphs.data(), static_cast<int>(glyphs.size()));
    }
    cairo_restore(cr);
}
