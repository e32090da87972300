// PreviewGraphicPainter: draws the graphic page items of the preview, each in its own inner
// coordinates: splines as their path, filled then stroked in their colours and tints (a colour
// of none paints nothing), with a simple arrowhead at a line end that has one; the placed graphic
// of a frame clipped to the frame: raster images (PNG, TIFF, JPEG, GIF, BMP) as they are, scaled
// as placed; EPS files as Ghostscript draws them (PreviewEpsRenderer), their bounding box scaled
// as placed, at the resolution of the page's pixels (300 pixels an inch in a PDF); PICT images,
// PDF files, and files that cannot be read or drawn, as a grey box with a cross and the file's
// name. Groups draw their children, back to front, through the painter's own dispatch.
#pragma once

#include <functional>

#include "PreviewColors.h"

class DataBase;
class GroupItem;
class PageItem;
class PlacedGraphic;
class PreviewEpsRenderer;
class PreviewFaces;
class SplineItem;
typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

class PreviewGraphicPainter {
public:
    // `drawChild` draws one child of a group in the child's inner coordinates; `pictures` draws
    // the EPS files and keeps them for the preview.
    PreviewGraphicPainter(const DataBase& db, const PreviewColors& colors, PreviewFaces& faces, PreviewEpsRenderer& pictures,
                          std::function<void(cairo_t*, const PageItem&)> drawChild)
        : mDB(db), mColors(colors), mFaces(faces), mPictures(pictures), mDrawChild(std::move(drawChild))
    {
    }
    // Draws `item` when it is a spline or a group; false when it is of another kind.
    bool Draw(cairo_t* cr, const PageItem& item);

private:
    void DrawSpline(cairo_t* cr, const SplineItem& spline);
    void DrawGroup(cairo_t* cr, const GroupItem& group);
    void DrawGraphic(cairo_t* cr, const SplineItem& frame, const PlacedGraphic& graphic);
    void DrawPlaceholder(cairo_t* cr, const SplineItem& frame, const PlacedGraphic& graphic);
    // The picture of an EPS graphic at the size it covers on `cr`'s device; null when it cannot
    // be drawn. A new reference (the caller destroys it).
    cairo_surface_t* EpsPicture(cairo_t* cr, const PlacedGraphic& graphic);
    // Sets the source to `swatch` at `tint` percent (-1: as it is); false when it paints nothing.
    bool SetColor(cairo_t* cr, UID swatch, double tint);

    const DataBase& mDB;
    const PreviewColors& mColors;
    PreviewFaces& mFaces;
    PreviewEpsRenderer& mPictures;
    std::function<void(cairo_t*, const PageItem&)> mDrawChild;
};
