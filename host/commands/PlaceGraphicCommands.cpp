#include "PlaceGraphicCommands.h"

#include <cmath>

#include "GraphicFileFormat.h"
#include "PlacedGraphic.h"
#include "Spread.h"
#include "SplineItem.h"

namespace {

// The extent of the graphic in its own coordinates (points): raster images at the resolution
// they give themselves (72 pixels an inch when they give none), EPS files as their bounding box
// says, when their size is known; else the frame's own size.
PMRect NaturalBounds(const GraphicFileFormat& format, const PMRect& frame)
{
    if (format.pixelWidth > 0 && format.pixelHeight > 0) {
        auto points = [](int32 pixels, double resolution) { return pixels * 72.0 / (resolution > 0 ? resolution : 72.0); };
        return PMRect(0, 0, points(format.pixelWidth, format.resolutionX), points(format.pixelHeight, format.resolutionY));
    }
    if (format.epsWidth > 0 && format.epsHeight > 0) return PMRect(0, 0, format.epsWidth, format.epsHeight);
    return PMRect(0, 0, frame.Width(), frame.Height());
}

} // namespace

ErrorCode ImportAndPlaceCmd::Do()
{
    DataBase* db = GetDataBase();
    placed = kInvalidUID;
    if (!db || mItems.Length() != 1) return kInvalidParameterError;
    Spread* spread = db->Get<Spread>(mItems.At(0));
    if (!spread || (layer != kInvalidUID && !db->Get<Layer>(layer))) return kInvalidParameterError;
    for (PMReal value : {bounds.left, bounds.top, bounds.Width(), bounds.Height()})
        if (!std::isfinite(value)) return kInvalidParameterError;
    if (!(bounds.Width() > 0) || !(bounds.Height() > 0)) return kInvalidParameterError;
    if (!file.Exists() || file.IsDirectory()) return kFileNotFoundError;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file.GetPath(), error)) return kFileNotFoundError;
    GraphicFileFormat format = readFile ? GraphicFileFormat() : GraphicFileFormat::FromName(file.GetFileName());
    if (readFile) {
        std::vector<unsigned char> bytes;
        if (!GraphicFileFormat::ReadFile(file, bytes)) return kIOReadError;
        format = GraphicFileFormat::Detect(bytes, file.GetFileName());
    }
    if (!format.known) return kFailure;

    SplineItem* frame = db->Create<SplineItem>();
    frame->kind = SplineKind::kRectangle;
    frame->spread = spread->GetUID();
    frame->layer = layer;
    frame->pathBounds = PMRect(0, 0, bounds.Width(), bounds.Height());
    frame->itemTransform = PMMatrix::Translation(bounds.left, bounds.top);
    PlacedGraphic* graphic = db->Create<PlacedGraphic>();
    graphic->frame = frame->GetUID();
    graphic->kind = format.kind;
    graphic->format = format.format;
    graphic->file = file;
    graphic->graphicBounds = NaturalBounds(format, frame->pathBounds);
    // Scaled to fill the frame, as the import wants it.
    graphic->itemTransform = {frame->pathBounds.Width() / graphic->graphicBounds.Width(), 0, 0,
                              frame->pathBounds.Height() / graphic->graphicBounds.Height(), 0, 0};
    frame->graphic = graphic->GetUID();
    spread->pageItems.push_back(frame->GetUID());
    placed = graphic->GetUID();
    mItems = UIDList(db);
    mItems.Append(frame->GetUID());
    return kSuccess;
}

ErrorCode MoveLinkCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db || mItems.Length() != 1) return kInvalidParameterError;
    PlacedGraphic* graphic = db->Get<PlacedGraphic>(mItems.At(0));
    if (!graphic)
        if (SplineItem* frame = db->Get<SplineItem>(mItems.At(0))) graphic = db->Get<PlacedGraphic>(frame->graphic);
    if (!graphic) return kInvalidParameterError;
    if (!boolData) {
        graphic->embedded = false;
        graphic->data.clear();
        return kSuccess;
    }
    if (graphic->embedded) return kSuccess;
    std::vector<unsigned char> bytes;
    if (!GraphicFileFormat::ReadFile(graphic->file, bytes)) return kIOReadError;
    graphic->data = std::move(bytes);
    graphic->embedded = true;
    return kSuccess;
}
