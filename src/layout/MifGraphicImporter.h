// MifGraphicImporter: turns the object statements of a MIF page or frame into page items, in
// file order (the stacking order, back to front), and rotates them.
//
// Handles: Rectangle, RoundRect (Radius), Ellipse (ShapeRect); Polygon, PolyLine (Point);
// Arc (ArcRect, ArcTheta, ArcDTheta) as a path of Bézier segments, a filled arc as its wedge;
// TextLine (TLOrigin, TLAlignment, its Font, String and Char) as a text frame fitted to its text
// with its first baseline on the origin; ImportObject (MifImageImporter); Frame as a group of
// its contents, with a rectangle for the frame's own pen and fill; TextRect through the layout
// importer; the graphic state of MifGraphicState on every item but text lines; Angle about the
// item's centre (a text line's origin); the import mark on every item made. Passes over: Math,
// Group, and every statement that is no object.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "IDFile.h"
#include "PMGeometry.h"
#include "UIDRef.h"

#include "layout/MifGraphicState.h"
#include "layout/MifImageImporter.h"

class DataBase;
class IMifColorImporter;
class IMifContentImporter;
class IMifErrorLog;
class IMifImportOptions;
class IMifLayoutImporter;
class MifObject;

// Where the objects of one page or frame go: the map from their MIF coordinates to spread
// coordinates, the spread and the layer.
struct MifPlacement {
    PMMatrix toSpread;
    UID spread = kInvalidUID;
    UID layer = kInvalidUID;
};

class MifGraphicImporter {
public:
    // Makes the frame of a TextRect (the layout importer's own); the null reference when none.
    using TextRectMaker = std::function<UIDRef(const MifObject&, const MifPlacement&)>;

    struct Setup {
        DataBase* db = nullptr;
        IMifErrorLog* errors = nullptr;
        IMifColorImporter* colors = nullptr;
        IMifContentImporter* content = nullptr;
        IMifLayoutImporter* layout = nullptr;
        const IMifImportOptions* options = nullptr;   // what the user allowed this import
        IDFile mifFile;
        int32 uiFlags = 0;
        std::map<UID, const MifObject*>* itemObjects = nullptr;   // every item made, to its statement
        TextRectMaker makeTextRect;
    };
    void Init(const Setup& setup);
    // Back to the default graphic state.
    void ResetState() { mState.Reset(); }
    const MifGraphicState& GetState() const { return mState; }

    // Makes the items of the object statements of `container` (a Page or Frame statement), then
    // rotates them; the items made, back to front.
    std::vector<UIDRef> ImportObjects(const MifObject& container, const MifPlacement& placement);
    // Makes the items of the one object statement `mifObject` (a Frame of the AFrames catalog) as
    // ImportObjects makes each object of a container, rotation included; the item then takes the
    // statement's run-around (mode and gap), read again from it. The null reference when nothing
    // was made.
    UIDRef ImportSingleObject(const MifObject& mifObject, const MifPlacement& placement);
    // Deletes the temporary image files.
    void Finalize() { mImages.DeleteTemporaryFiles(); }
    const MifImageImporter& GetImages() const { return mImages; }

private:
    UIDRef ImportObject(const MifObject& mifObject, const MifPlacement& placement);
    UIDRef MakeShape(const MifObject& mifObject, const MifPlacement& placement);
    UIDRef MakePath(const MifObject& mifObject, const MifPlacement& placement);
    UIDRef MakeArc(const MifObject& mifObject, const MifPlacement& placement);
    UIDRef MakeSpline(int32 kind, const std::vector<PMPathPoint>& spreadPoints, const MifPlacement& placement);
    UIDRef MakeTextLine(const MifObject& mifObject, const MifPlacement& placement);
    UIDRef MakeImage(const MifObject& mifObject, const MifPlacement& placement);
    UIDRef MakeFrame(const MifObject& mifObject, const MifPlacement& placement);
    void ApplyAttributes(const UIDRef& item, const MifObject& mifObject);
    // The run-around of the attribute state on `item`: wrap mode, margins, and for a contour wrap
    // the item's own path as what it follows.
    void ApplyRunaround(const UIDRef& item);
    void Mark(const UIDRef& item);
    void RotateItems(const std::vector<UIDRef>& items);
    // The ShapeRect (or `keyword`) of `mifObject` within the page's range, in its own
    // coordinates; false (reported) when there is none.
    bool ShapeOf(const MifObject& mifObject, int32 keyword, PMRect& shape);

    Setup mSetup;
    MifGraphicState mState;
    MifImageImporter mImages;
    int32 mDepth = 0;   // of the Frame being imported
    // Where each text line's origin landed (spread coordinates), its rotation pivot.
    std::map<UID, PMPoint> mTextLineOrigins;
};
