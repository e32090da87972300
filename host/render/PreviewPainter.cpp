#include "PreviewPainter.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <unordered_map>

#include "DataBase.h"
#include "Document.h"
#include "FrameList.h"
#include "PageNumbering.h"
#include "PreviewFaces.h"
#include "PreviewGraphicPainter.h"
#include "PreviewParagraphRules.h"
#include "Spread.h"
#include "SpreadLayout.h"
#include "AnchorLayout.h"
#include "Story.h"
#include "StyleUtils.h"
#include "SwatchUtils.h"
#include "Table.h"
#include "TextComposer.h"
#include "TextFrame.h"
#include "TextModel.h"
#include "TextVariable.h"
#include "VariableText.h"

namespace {

// The frame marks: a thin blue-grey outline, and the overset plus in a box at the bottom right.
constexpr double kOutlineWidth = 0.75;
constexpr double kPlusBox = 7;      // points, the side of the box
constexpr double kPlusMargin = 1.5; // from the frame's corner

cairo_matrix_t ToCairo(const PMMatrix& m)
{
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, m.a, m.b, m.c, m.d, m.tx, m.ty);
    return matrix;
}

// A transform cairo can invert: a page item squeezed flat has nothing to show.
bool IsDrawable(const PMMatrix& m) { return std::abs(m.a * m.d - m.b * m.c) > 1e-12; }

// `color` at `tint` percent.
PreviewColor Tinted(PreviewColor color, PMReal tint) { return Mixed(color, std::clamp<PMReal>(tint, 0, 100) / 100.0); }

bool Intersects(const PMRect& a, const PMRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The masters beneath `page`, the farthest base first; a chain of bases that loops stops where
// it comes back.
std::vector<const MasterSpread*> MastersOf(const DataBase& db, const Page& page)
{
    std::vector<const MasterSpread*> masters;
    std::set<UID> seen;
    for (UID uid = page.appliedMaster; uid != kInvalidUID && seen.insert(uid).second;) {
        const MasterSpread* master = db.Get<MasterSpread>(uid);
        if (!master) break;
        masters.insert(masters.begin(), master);
        uid = master->basedOn;
    }
    return masters;
}

// The value of a character attribute in force for characters formatted `run` in a paragraph
// formatted `paragraph`, as the composer reads it: the run's override, its character style's, the
// paragraph's override, its paragraph style's; null when none sets it.
const AttributeValue* CharacterAttribute(const DataBase& db, const TextFormat& paragraph, const TextFormat& run, TextAttribute kind)
{
    if (const AttributeValue* value = run.overrides.QueryAttribute(kind)) return value;
    if (const AttributeValue* value = StyleUtils::GetInheritedAttribute(db, run.style, kind)) return value;
    if (const AttributeValue* value = paragraph.overrides.QueryAttribute(kind)) return value;
    return StyleUtils::GetInheritedAttribute(db, paragraph.style, kind);
}

} // namespace

PreviewPainter::PreviewPainter(const DataBase& db, const PreviewOptions& options, PreviewFaces& faces, PreviewEpsRenderer& pictures)
    : mDB(db), mOptions(options), mFaces(faces), mPictures(pictures), mColors(db)
{
    IndexFrames();
    const Document* document = db.GetDocument();
    if (!document) return;
    for (size_t i = 0; i < document->layers.size(); ++i) {
        const Layer* layer = db.Get<Layer>(document->layers[i]);
        mLayerDepth[document->layers[i]] = static_cast<int32>(i);
        mLayerVisible[document->layers[i]] = !layer || layer->visible;
    }
}

PreviewPainter::~PreviewPainter() = default;

void PreviewPainter::IndexFrames()
{
    const Document* document = mDB.GetDocument();
    if (!document) return;
    for (UID uid : document->stories) {
        const Story* story = mDB.Get<Story>(uid);
        if (!story || !story->frameList.IsComposed()) continue;
        const std::vector<ComposedFrame>& frames = story->frameList.GetFrames();
        for (size_t i = 0; i < frames.size(); ++i)
            mFrames[frames[i].frame] = FrameText{story, &frames[i], i + 1 == frames.size() && story->frameList.Overflows()};
    }
}

void PreviewPainter::DrawPage(cairo_t* cr, const Page& page)
{
    cairo_save(cr);
    // Outlines as the faces draw them, unhinted, so that images and PDF pages agree.
    cairo_font_options_t* fontOptions = cairo_font_options_create();
    cairo_font_options_set_hint_style(fontOptions, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(fontOptions, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, fontOptions);
    cairo_font_options_destroy(fontOptions);
    cairo_rectangle(cr, 0, 0, page.width, page.height);
    cairo_clip(cr);
    PreviewColor paper{1, 1, 1};
    mColors.Resolve(SwatchUtils::GetPaperSwatch(mDB), paper);
    cairo_set_source_rgb(cr, paper.red, paper.green, paper.blue);
    cairo_paint(cr);
    DrawMasterItems(cr, page);
    if (const Spread* spread = mDB.Get<Spread>(page.spread)) {
        cairo_save(cr);
        cairo_translate(cr, -page.boundsInSpread.left, -page.boundsInSpread.top);
        DrawSpreadItems(cr, *spread, page.boundsInSpread);
        cairo_restore(cr);
    }
    cairo_restore(cr);
}

void PreviewPainter::DrawMasterItems(cairo_t* cr, const Page& page)
{
    // Their page numbers show this page's.
    mShownPage = page.GetUID();
    for (const MasterSpread* master : MastersOf(mDB, page)) {
        const Page* masterPage = SpreadLayout::GetMasterPage(mDB, *master, page);
        if (!masterPage) continue;
        cairo_save(cr);
        cairo_translate(cr, -masterPage->boundsInSpread.left, -masterPage->boundsInSpread.top);
        DrawSpreadItems(cr, *master, masterPage->boundsInSpread);
        cairo_restore(cr);
    }
    mShownPage = kInvalidUID;
}

void PreviewPainter::DrawSpreadItems(cairo_t* cr, const Spread& spread, const PMRect& pageBounds)
{
    std::vector<std::pair<int32, const PageItem*>> items;  // layer depth, item
    for (UID uid : spread.pageItems) {
        const PageItem* item = mDB.Get<PageItem>(uid);
        if (!item || !IsDrawable(item->itemTransform) || !Intersects(item->GetBoundsInSpread(), pageBounds)) continue;
        int32 depth = -1;  // no layer: the frontmost
        if (auto it = mLayerDepth.find(item->layer); it != mLayerDepth.end()) {
            if (!mLayerVisible[item->layer]) continue;
            depth = it->second;
        }
        items.emplace_back(depth, item);
    }
    // The back layers first; within a layer, the spread's order (back to front).
    std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [depth, item] : items) {
        cairo_save(cr);
        cairo_matrix_t matrix = ToCairo(item->itemTransform);
        cairo_transform(cr, &matrix);
        DrawItem(cr, *item);
        cairo_restore(cr);
    }
}

void PreviewPainter::DrawItem(cairo_t* cr, const PageItem& item)
{
    // One drawing function per kind of page item; each new kind adds its line here.
    if (const auto* frame = dynamic_cast<const TextFrame*>(&item)) return DrawTextFrame(cr, *frame);
    PreviewGraphicPainter(mDB, mColors, mFaces, mPictures, [this](cairo_t* c, const PageItem& child) { DrawItem(c, child); }).Draw(cr, item);
}

void PreviewPainter::DrawTextFrame(cairo_t* cr, const TextFrame& frame)
{
    auto it = mFrames.find(frame.GetUID());
    const bool overset = it != mFrames.end() && it->second.overset;
    if (it != mFrames.end() && it->second.story == mDB.Get<Story>(frame.story)) {
        DrawLines(cr, *it->second.story, it->second.composed->lines);
        DrawLines(cr, *it->second.story, it->second.composed->footnoteLines);
        const int32 columns = std::max(1, frame.columnCount);
        const PMReal columnWidth = (frame.pathBounds.Width() - frame.insets.left - frame.insets.right -
                                    std::max<PMReal>(0, frame.columnGutter) * (columns - 1)) / columns;
        PreviewParagraphRules(mDB, mColors).Draw(cr, *it->second.story, it->second.composed->lines, columnWidth);
        DrawTableParts(cr, *it->second.story, it->second.composed->tableParts);
        DrawAnchoredItems(cr, *it->second.composed);
    }
    if (mOptions.showFrames) DrawFrameMarks(cr, frame, overset);
}

void PreviewPainter::DrawAnchoredItems(cairo_t* cr, const ComposedFrame& composed)
{
    // Each where the composer put it, in the frame's coordinates; nested anchored frames draw
    // theirs in turn, as deep as the anchoring goes.
    if (mAnchorDepth >= kMaxAnchorDepth) return;
    ++mAnchorDepth;
    for (const PlacedAnchor& placed : composed.anchors) {
        const PageItem* item = mDB.Get<PageItem>(placed.item);
        if (!item || !IsDrawable(item->itemTransform)) continue;
        const PMRect box = AnchorLayout::SizeBox(*item);
        cairo_save(cr);
        cairo_translate(cr, placed.bounds.left - box.left, placed.bounds.top - box.top);
        cairo_matrix_t matrix = ToCairo(item->itemTransform);
        cairo_transform(cr, &matrix);
        DrawItem(cr, *item);
        cairo_restore(cr);
    }
    --mAnchorDepth;
}

void PreviewPainter::DrawLines(cairo_t* cr, const Story& story, const std::vector<ComposedLine>& lines)
{
    std::vector<cairo_glyph_t> glyphs;
    std::vector<std::pair<const ShapedText*, PMReal>> values;  // per run: its page value, or none
    std::u16string value;
    for (const ComposedLine& line : lines) {
        // On a master drawn on a page, the page's values in place of the master's, and how much
        // wider they make the line.
        PMReal grows = 0;
        values.assign(line.runs.size(), {nullptr, 0});
        if (mShownPage != kInvalidUID)
            for (size_t r = 0; r < line.runs.size(); ++r) {
                const GlyphRun& run = line.runs[r];
                if (run.length != 1 || !run.face || !PageValue(story, run.start, value)) continue;
                // Shaped with the face of the same family and style in the host's cache (the run's
                // face may come from another composer's).
                FontCache& fonts = TextComposer::Get().GetFontCache();
                const ShapedText& shaped = fonts.Shape(fonts.GetFace(run.face->family, run.face->style), value);
                values[r] = {&shaped, shaped.width * run.pointSize - run.width};
                grows += values[r].second;
            }
        PMReal shift = 0;
        if (grows != 0) {
            const TextFormat* paragraph = story.textModel.GetParagraphFormat(line.start);
            const AttributeValue* justification =
                paragraph ? (paragraph->overrides.QueryAttribute(TextAttribute::kJustification)
                                 ? paragraph->overrides.QueryAttribute(TextAttribute::kJustification)
                                 : StyleUtils::GetInheritedAttribute(mDB, paragraph->style, TextAttribute::kJustification))
                          : nullptr;
            const int32* align = justification ? std::get_if<int32>(justification) : nullptr;
            if (align && *align == 1) shift = -grows / 2;
            else if (align && *align == 2) shift = -grows;
        }
        for (size_t r = 0; r < line.runs.size(); ++r) {
            const GlyphRun& run = line.runs[r];
            const ShapedText* shaped = values[r].first;
            const bool hasGlyphs = shaped ? !shaped->glyphs.empty() : run.glyphCount > 0;
            const PMReal runShift = shift;
            shift += values[r].second;
            if (!hasGlyphs || run.pointSize <= 0) continue;
            cairo_font_face_t* face = mFaces.Get(run.face);
            PreviewColor color;
            if (!face || !TextColor(story, run.start, color)) continue;
            glyphs.clear();
            // Superscripts stand above the line's baseline, subscripts below it.
            const double baseline = line.baseline - run.rise;
            if (shaped) {
                PMReal pen = run.x + runShift;
                for (size_t g = 0; g < shaped->glyphs.size(); ++g) {
                    glyphs.push_back(cairo_glyph_t{shaped->glyphs[g], pen + shaped->offsetsX[g] * run.pointSize, baseline});
                    pen += shaped->advances[g] * run.pointSize;
                }
            } else {
                for (const LineGlyph& glyph : line.GlyphsOf(run))
                    glyphs.push_back(cairo_glyph_t{glyph.id, glyph.XIn(run) + runShift, baseline});
            }
            cairo_set_font_face(cr, face);
            cairo_set_font_size(cr, run.pointSize);
            cairo_set_source_rgb(cr, color.red, color.green, color.blue);
            cairo_show_glyphs(cr, glyphs.data(), static_cast<int>(glyphs.size()));
        }
    }
}

bool PreviewPainter::TextColor(const Story& story, int32 index, PreviewColor& color)
{
    const TextFormat* paragraph = story.textModel.GetParagraphFormat(index);
    const TextFormat* run = story.textModel.GetCharacterFormat(index);
    if (!paragraph || !run) return false;
    if (paragraph != mLastParagraph || run != mLastRun) {
        mLastParagraph = paragraph;
        mLastRun = run;
        // Text without a fill colour of its own is black, as in a new document's root style.
        UID swatch = SwatchUtils::GetBlackSwatch(mDB);
        if (const AttributeValue* value = CharacterAttribute(mDB, *paragraph, *run, TextAttribute::kFillColor))
            if (const UID* uid = std::get_if<UID>(value)) swatch = *uid;
        mLastPaints = mColors.Resolve(swatch, mLastColor);
    }
    color = mLastColor;
    return mLastPaints;
}

bool PreviewPainter::PageValue(const Story& story, int32 index, std::u16string& value)
{
    const TextModel& model = story.textModel;
    if (index < 0 || index >= model.TotalLength()) return false;
    const UTF16TextChar c = model.GetChar(index);
    UID variable = kInvalidUID;
    if (c == kTextChar_TextVariable) {
        const TextVariableInstance* instance = mDB.Get<TextVariableInstance>(model.GetOwnedItem(index));
        const TextVariable* shown = instance ? mDB.Get<TextVariable>(instance->variable) : nullptr;
        if (!shown || !VariableText::DependsOnPage(*shown)) return false;
        variable = shown->GetUID();
    } else if (c != kTextChar_PageNumber) {
        return false;
    }
    auto [it, added] = mPageValues.try_emplace({variable, mShownPage});
    if (added) {
        if (!mNumbering) mNumbering = std::make_unique<PageNumbering>(mDB);
        if (!mHeaders) mHeaders = std::make_unique<VariableText::RunningHeaders>();
        PMString shown;
        if (variable == kInvalidUID) shown = mNumbering->GetPageName(mShownPage);
        else
            shown = VariableText::GetValueOnPage(mDB, *mDB.Get<TextVariable>(variable), VariableText::Now(),
                                                 VariableText::VariablePage{mNumbering.get(), mShownPage, mHeaders.get()});
        it->second = shown.GetUTF16();
        for (char16_t& ch : it->second)
            if (ch < 0x20) ch = u' ';
    }
    value = it->second;
    return true;
}

void PreviewPainter::DrawTableParts(cairo_t* cr, const Story& story, const std::vector<ComposedTablePart>& parts)
{
    for (const ComposedTablePart& part : parts) {
        const Table* table = part.table ? mDB.Get<Table>(part.table->table) : nullptr;
        if (table && table->story == story.GetUID()) DrawTable(cr, story, *table, part);
    }
}

struct PreviewPainter::TableGeometry {
    TableGeometry(const ComposedTable& composed, const ComposedTablePart& part, int32 rows, int32 columns)
        : composed(composed), rows(rows), columns(columns), left(part.left), tops(static_cast<size_t>(rows) + 1, -1),
          shown(static_cast<size_t>(rows), 0)
    {
        PMReal y = part.top;
        for (int32 r : part.rows) {
            if (r < 0 || r >= rows) continue;
            tops[static_cast<size_t>(r)] = y;
            shown[static_cast<size_t>(r)] = 1;
            y += composed.rowHeights[static_cast<size_t>(r)];
        }
    }
    PMReal RowTop(int32 r) const { return tops[static_cast<size_t>(r)]; }
    PMReal RowBottom(int32 r) const { return tops[static_cast<size_t>(r)] + composed.rowHeights[static_cast<size_t>(r)]; }
    PMReal X(int32 c) const { return left + composed.columnLefts[static_cast<size_t>(c)]; }
    bool Shows(int32 r) const { return r >= 0 && r < rows && shown[static_cast<size_t>(r)]; }
    // The rows of a cell that the part shows, from its anchor: a merged cell's rows stay together.
    int32 CellRows(int32 r, const TableCell& cell) const { return std::clamp(cell.rowSpan, 1, rows - r); }

    const ComposedTable& composed;
    int32 rows, columns;
    PMReal left;               // the part's left edge
    std::vector<PMReal> tops;  // the part's rows top down; a row it does not show has no place (-1)
    std::vector<char> shown;
};

void PreviewPainter::DrawTable(cairo_t* cr, const Story& story, const Table& table, const ComposedTablePart& part)
{
    const ComposedTable& composed = *part.table;
    const int32 rows = table.RowCount(), columns = table.ColumnCount();
    if (static_cast<int32>(composed.rowHeights.size()) != rows || static_cast<int32>(composed.columnLefts.size()) != columns + 1 ||
        table.cells.size() != static_cast<size_t>(rows) * static_cast<size_t>(columns))
        return;  // changed since it was set
    const TableGeometry geometry(composed, part, rows, columns);
    cairo_save(cr);
    // A part cut at its column's foot is drawn down to the foot only.
    cairo_rectangle(cr, geometry.X(0) - 10, part.top - 10, geometry.X(columns) - geometry.X(0) + 20, part.height + 20);
    cairo_clip(cr);
    FillCells(cr, table, part, geometry);
    DrawCellText(cr, story, table, geometry);
    StrokeEdges(cr, table, part, geometry);
    cairo_restore(cr);
}

void PreviewPainter::FillCells(cairo_t* cr, const Table& table, const ComposedTablePart& part, const TableGeometry& geometry)
{
    const int32 rows = geometry.rows, columns = geometry.columns;
    const TableAlternatingFill& alternating = table.alternatingPattern == 1 ? table.columnFill : table.rowFill;
    const int32 period = alternating.firstCount + alternating.nextCount;
    for (int32 r : part.rows)
        for (int32 c = 0; c < columns; ++c) {
            if (r < 0 || r >= rows) break;
            const TableCell& cell = table.CellAt(GridAddress{r, c});
            if (cell.covered) continue;
            UID swatch = cell.fillColor;
            PMReal tint = cell.fillTint >= 0 ? cell.fillTint : 100;
            const bool body = r >= table.headerRowCount && r < rows - table.footerRowCount;
            if (swatch == kInvalidUID && body && table.alternatingPattern >= 0 && period > 0) {
                const int32 k = (table.alternatingPattern == 1 ? c : r - table.headerRowCount) % period;
                swatch = k < alternating.firstCount ? alternating.firstColor : alternating.nextColor;
                tint = k < alternating.firstCount ? alternating.firstTint : alternating.nextTint;
            }
            PreviewColor color;
            if (swatch == kInvalidUID || !mColors.Resolve(swatch, color)) continue;
            color = Tinted(color, tint);
            const int32 r2 = r + geometry.CellRows(r, cell) - 1, c2 = std::min(columns, c + std::max(1, cell.columnSpan));
            cairo_set_source_rgb(cr, color.red, color.green, color.blue);
            cairo_rectangle(cr, geometry.X(c), geometry.RowTop(r), geometry.X(c2) - geometry.X(c), geometry.RowBottom(r2) - geometry.RowTop(r));
            cairo_fill(cr);
        }
}

void PreviewPainter::DrawCellText(cairo_t* cr, const Story& story, const Table& table, const TableGeometry& geometry)
{
    // The threads of the part's cells, found in one walk.
    std::unordered_map<UID, TextRange> threads;
    for (const ComposedCell& cell : geometry.composed.cells)
        if (geometry.Shows(cell.row) && !cell.lines.empty()) threads[cell.text] = TextRange{};
    if (!threads.empty())
        story.textModel.ForEachThread([&](const TextRange& range, const TextThread& thread) {
            if (auto it = threads.find(thread.owner); it != threads.end()) it->second = range;
        });
    for (const ComposedCell& cell : geometry.composed.cells) {
        if (!geometry.Shows(cell.row) || cell.lines.empty()) continue;
        const TableCell& model = table.CellAt(GridAddress{cell.row, cell.column});
        const TextRange thread = threads[cell.text];
        if (thread.length <= 0) continue;
        const int32 r2 = cell.row + geometry.CellRows(cell.row, model) - 1;
        const int32 c2 = std::min(geometry.columns, cell.column + std::max(1, model.columnSpan));
        std::vector<ComposedLine> lines = cell.lines;
        for (ComposedLine& line : lines)
            for (GlyphRun& run : line.runs) run.start += thread.start;
        cairo_save(cr);
        const double left = geometry.X(cell.column), top = geometry.RowTop(cell.row);
        const double width = geometry.X(c2) - left, height = geometry.RowBottom(r2) - top;
        cairo_rectangle(cr, left, top, width, height);
        cairo_clip(cr);
        cairo_translate(cr, left, top);
        // Turned text: its text area's start goes to the bottom (90), right (180) or top (270) edge.
        if (cell.rotation == 90) {
            cairo_translate(cr, 0, height);
            cairo_rotate(cr, -std::numbers::pi / 2);
        } else if (cell.rotation == 180) {
            cairo_translate(cr, width, height);
            cairo_rotate(cr, std::numbers::pi);
        } else if (cell.rotation == 270) {
            cairo_translate(cr, width, 0);
            cairo_rotate(cr, std::numbers::pi / 2);
        }
        DrawLines(cr, story, lines);
        cairo_restore(cr);
    }
}

void PreviewPainter::StrokeEdges(cairo_t* cr, const Table& table, const ComposedTablePart& part, const TableGeometry& geometry)
{
    // A part's first shown row is drawn with its top edge, its last with its bottom edge, whatever
    // rows stand beside them in the grid.
    const int32 rows = geometry.rows, columns = geometry.columns;
    auto inside = [&](int32 r, int32 c) { return table.IsValid(GridAddress{r, c}) && table.CellAt(GridAddress{r, c}).covered; };
    for (size_t i = 0; i < part.rows.size(); ++i) {
        const int32 r = part.rows[i];
        if (r < 0 || r >= rows) continue;
        const bool lastShown = i + 1 == part.rows.size() || part.rows[i + 1] != r + 1;
        const PMReal top = geometry.RowTop(r), bottom = geometry.RowBottom(r);
        for (int32 c = 0; c < columns; ++c) {
            // An edge inside a merged cell: the cell below it is covered by a cell that starts above.
            if (i > 0 && r > 0 && inside(r, c) && table.AnchorOf(GridAddress{r, c}).row < r) {
            } else {
                StrokeEdge(cr, table.RowEdge(r, c), geometry.X(c), top, geometry.X(c + 1), top);
            }
            if (lastShown) StrokeEdge(cr, table.RowEdge(r + 1, c), geometry.X(c), bottom, geometry.X(c + 1), bottom);
        }
        for (int32 c = 0; c <= columns; ++c) {
            if (c > 0 && c < columns && inside(r, c) && table.AnchorOf(GridAddress{r, c}).column < c) continue;
            StrokeEdge(cr, table.ColumnEdge(r, c), geometry.X(c), top, geometry.X(c), bottom);
        }
    }
}

void PreviewPainter::StrokeEdge(cairo_t* cr, const TableStroke& edge, double x1, double y1, double x2, double y2)
{
    PreviewColor color;
    const UID swatch = edge.color != kInvalidUID ? edge.color : SwatchUtils::GetBlackSwatch(mDB);
    if (edge.weight <= 0 || edge.type == kStrokeTypeNone || !mColors.Resolve(swatch, color)) return;
    color = Tinted(color, edge.tint);
    cairo_set_source_rgb(cr, color.red, color.green, color.blue);
    const bool horizontal = y1 == y2;
    if (edge.type == kStrokeTypeDouble) {
        const double line = edge.weight / 3;
        for (double offset : {-edge.weight / 2 + line / 2, edge.weight / 2 - line / 2}) {
            cairo_set_line_width(cr, line);
            cairo_move_to(cr, x1 + (horizontal ? 0 : offset), y1 + (horizontal ? offset : 0));
            cairo_line_to(cr, x2 + (horizontal ? 0 : offset), y2 + (horizontal ? offset : 0));
            cairo_stroke(cr);
        }
        return;
    }
    cairo_set_line_width(cr, edge.weight);
    cairo_move_to(cr, x1, y1);
    cairo_line_to(cr, x2, y2);
    cairo_stroke(cr);
}

void PreviewPainter::DrawFrameMarks(cairo_t* cr, const TextFrame& frame, bool overset)
{
    const PMRect& box = frame.pathBounds;
    cairo_save(cr);
    cairo_set_line_width(cr, kOutlineWidth);
    cairo_set_source_rgb(cr, 0.2, 0.4, 0.8);
    cairo_rectangle(cr, box.left, box.top, box.Width(), box.Height());
    cairo_stroke(cr);
    if (overset) {
        double right = box.right - kPlusMargin, bottom = box.bottom - kPlusMargin;
        double left = right - kPlusBox, top = bottom - kPlusBox;
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_rectangle(cr, left, top, kPlusBox, kPlusBox);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 0.9, 0, 0);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        cairo_set_line_width(cr, 1.2);
        cairo_move_to(cr, left + 1.5, top + kPlusBox / 2);
        cairo_line_to(cr, right - 1.5, top + kPlusBox / 2);
        cairo_move_to(cr, left + kPlusBox / 2, top + 1.5);
        cairo_line_to(cr, left + kPlusBox / 2, bottom - 1.5);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}
