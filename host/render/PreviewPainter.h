// PreviewPainter: draws one page of a document onto a cairo context, from the host document as
// it is (it composes nothing and changes nothing).
//
// A page is its paper, then the items of its master page (and of the masters that master is
// based on, the farthest first), then the page's own items, each clipped to the page. Items are
// drawn back to front, layer by layer from the back; items on hidden layers are left out.
// Each kind of page item has its drawing function, chosen in DrawItem:
//   - text frames: the composed lines of their story, glyph by glyph, with the faces and at the
//     places the composer chose, in each run's fill colour (superscripts and subscripts raised
//     and lowered as the composer set them, tab leaders as the glyphs of their tabs); the lines
//     of footnotes likewise; the values of text variables and page numbers and the numbers of
//     numbered paragraphs as the composer set them, but for the frames of a master page drawn
//     on a page: their page numbers and page-dependent variables show that page's values, set
//     again in the line's place (the text after them moves along; right and centred lines keep
//     their alignment); with PreviewOptions::showFrames, the frame's outline and, on the last
//     frame of a story whose text does not fit, a red plus;
//   - tables on the lines of their table characters: cell fills (the body's alternating fills
//     under them), the lines of their cells and the strokes of the grid's edges;
//   - splines, groups and placed graphics: PreviewGraphicPainter (EPS files through
//     PreviewEpsRenderer);
//   - other kinds (anchored frames) have no drawing yet.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "PMGeometry.h"
#include "PreviewColors.h"
#include "PreviewOptions.h"
#include "UIDRef.h"

class DataBase;
class Page;
class PageNumbering;
namespace VariableText {
class RunningHeaders;
}
class PageItem;
class PreviewEpsRenderer;
class PreviewFaces;
class Spread;
class Story;
class Table;
class TextFrame;
struct ComposedFrame;
struct ComposedLine;
struct ComposedTablePart;
struct TableStroke;
struct TextFormat;
typedef struct _cairo cairo_t;

class PreviewPainter {
public:
    // Draws with the faces of `faces` and the EPS pictures of `pictures`, which may be shared by
    // several painters.
    PreviewPainter(const DataBase& db, const PreviewOptions& options, PreviewFaces& faces, PreviewEpsRenderer& pictures);
    ~PreviewPainter();

    // Draws `page` with its top left corner at the origin of `cr`'s user space, one unit a point.
    void DrawPage(cairo_t* cr, const Page& page);

private:
    // Where the composition of a frame is found.
    struct FrameText {
        const Story* story = nullptr;
        const ComposedFrame* composed = nullptr;
        bool overset = false;  // the last frame of a story whose text does not fit
    };

    void IndexFrames();
    void DrawMasterItems(cairo_t* cr, const Page& page);
    // The items of `spread` that reach into `pageBounds` (spread coordinates); `cr` maps spread
    // coordinates to the page.
    void DrawSpreadItems(cairo_t* cr, const Spread& spread, const PMRect& pageBounds);
    // One page item in its own inner coordinates: the dispatch by kind.
    void DrawItem(cairo_t* cr, const PageItem& item);
    void DrawTextFrame(cairo_t* cr, const TextFrame& frame);
    void DrawLines(cairo_t* cr, const Story& story, const std::vector<ComposedLine>& lines);
    // The page items anchored in the frame's lines, where the composer placed them.
    void DrawAnchoredItems(cairo_t* cr, const ComposedFrame& composed);
    void DrawFrameMarks(cairo_t* cr, const TextFrame& frame, bool overset);
    // The tables parts set in a frame: each part's rows with their fills, rulings and cell text.
    void DrawTableParts(cairo_t* cr, const Story& story, const std::vector<ComposedTablePart>& parts);
    void DrawTable(cairo_t* cr, const Story& story, const Table& table, const ComposedTablePart& part);
    // Where the rows and columns of a table part stand in its frame, worked out once a part.
    struct TableGeometry;
    // The part's cell fills: a cell's own, else the body's alternating fill of its row or column.
    void FillCells(cairo_t* cr, const Table& table, const ComposedTablePart& part, const TableGeometry& geometry);
    // The lines of the part's cells, each inside its cell, turned as the cell turns its text.
    void DrawCellText(cairo_t* cr, const Story& story, const Table& table, const TableGeometry& geometry);
    // The strokes of the edges of the part's rows that no merged cell covers.
    void StrokeEdges(cairo_t* cr, const Table& table, const ComposedTablePart& part, const TableGeometry& geometry);
    // One edge from (x1, y1) to (x2, y2) in its weight, colour and tint; a double stroke as two
    // lines a third of its weight each, at its sides.
    void StrokeEdge(cairo_t* cr, const TableStroke& edge, double x1, double y1, double x2, double y2);
    // The colour the characters at `index` of `story` are filled with; false when none.
    bool TextColor(const Story& story, int32 index, PreviewColor& color);
    // What the character at `index` of `story` shows on page `mShownPage` when its value
    // depends on the page (a page number, a page-dependent variable); false for other characters.
    bool PageValue(const Story& story, int32 index, std::u16string& value);

    const DataBase& mDB;
    PreviewOptions mOptions;
    PreviewFaces& mFaces;
    PreviewEpsRenderer& mPictures;
    PreviewColors mColors;
    std::unordered_map<UID, FrameText> mFrames;
    // The page the master items being drawn are drawn on; kInvalidUID while drawing others.
    UID mShownPage = kInvalidUID;
    std::unique_ptr<PageNumbering> mNumbering;  // made when a master's page value is first drawn
    std::unique_ptr<VariableText::RunningHeaders> mHeaders;
    std::map<std::pair<UID, UID>, std::u16string> mPageValues;  // (variable or none, page): value
    static constexpr int32 kMaxAnchorDepth = 64;
    int32 mAnchorDepth = 0;   // how deep in anchored frames the drawing is
    std::unordered_map<UID, int32> mLayerDepth;   // 0 for the frontmost layer
    std::unordered_map<UID, bool> mLayerVisible;
    // The last formats TextColor resolved, and their answer: runs repeat along a story.
    const TextFormat* mLastParagraph = nullptr;
    const TextFormat* mLastRun = nullptr;
    bool mLastPaints = false;
    PreviewColor mLastColor;
};
