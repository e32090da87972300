#include "JsonDumpWriter.h"

#include <iterator>
#include <new>
#include <variant>

#include "AtomicFileWriter.h"
#include "DataBase.h"
#include "CrossReference.h"
#include "Document.h"
#include "TextVariable.h"
#include "ErrorUtils.h"
#include "JsonValue.h"
#include "PageNumbering.h"
#include "PersistentObject.h"
#include "Section.h"
#include "Spread.h"
#include "Story.h"
#include "Table.h"
#include "Style.h"
#include "Swatch.h"
#include "GroupItem.h"
#include "PlacedGraphic.h"
#include "SplineItem.h"
#include "TextFrame.h"

namespace {

constexpr int64 kDumpVersion = 2;

JsonValue Ref(UID uid) { return uid == kInvalidUID ? JsonValue() : JsonValue::Integer(uid); }

JsonValue RefList(const std::vector<UID>& uids)
{
    JsonValue list = JsonValue::Array();
    for (UID uid : uids) list.Append(Ref(uid));
    return list;
}

JsonValue StringList(const std::vector<PMString>& texts)
{
    JsonValue list = JsonValue::Array();
    for (const PMString& text : texts) list.Append(JsonValue::String(text));
    return list;
}

JsonValue Rect(const PMRect& r)
{
    JsonValue rect = JsonValue::Object();
    rect.Set("left", JsonValue::Real(r.left));
    rect.Set("top", JsonValue::Real(r.top));
    rect.Set("right", JsonValue::Real(r.right));
    rect.Set("bottom", JsonValue::Real(r.bottom));
    return rect;
}

// One function per kind of object sets its fields; DumpObject names the kinds.

void SetDocumentFields(const Document& document, JsonValue& out)
{
    const DocumentPreferences& prefs = document.preferences;
    JsonValue preferences = JsonValue::Object();
    preferences.Set("pageWidth", JsonValue::Real(prefs.pageWidth));
    preferences.Set("pageHeight", JsonValue::Real(prefs.pageHeight));
    preferences.Set("wide", JsonValue::Bool(prefs.wide));
    preferences.Set("pagesPerSpread", JsonValue::Integer(prefs.pagesPerSpread));
    preferences.Set("facingPages", JsonValue::Bool(prefs.facingPages));
    preferences.Set("skipByLeading", JsonValue::Bool(prefs.skipByLeading));
    out.Set("name", JsonValue::String(document.name));
    out.Set("preferences", std::move(preferences));
    out.Set("spreads", RefList(document.spreads));
    out.Set("masterSpreads", RefList(document.masterSpreads));
    out.Set("layers", RefList(document.layers));
    out.Set("sections", RefList(document.sections));
    out.Set("stories", RefList(document.stories));
    out.Set("swatches", RefList(document.swatches));
    out.Set("paragraphStyles", RefList(document.paragraphStyles));
    out.Set("characterStyles", RefList(document.characterStyles));
    out.Set("lists", RefList(document.lists));
    out.Set("fontFamilies", RefList(document.fontFamilies));
    out.Set("missingFonts", StringList(document.missingFonts));
    out.Set("textVariables", RefList(document.textVariables));
    out.Set("crossReferenceFormats", RefList(document.crossReferenceFormats));
    out.Set("crossReferenceSources", RefList(document.crossReferenceSources));
    out.Set("textDestinations", RefList(document.textDestinations));
}

// ---- text variables and cross-references ----

void SetTextVariableFields(const TextVariable& variable, JsonValue& out)
{
    out.Set("name", JsonValue::String(variable.name));
    out.Set("baseType", JsonValue::Integer(variable.baseType));
    out.Set("contents", JsonValue::String(variable.contents));
    out.Set("textBefore", JsonValue::String(variable.textBefore));
    out.Set("textAfter", JsonValue::String(variable.textAfter));
    out.Set("includePath", JsonValue::Bool(variable.includePath));
    out.Set("includeExtension", JsonValue::Bool(variable.includeExtension));
    out.Set("scope", JsonValue::Integer(variable.scope));
    out.Set("use", JsonValue::Integer(variable.use));
    out.Set("deleteEndPunctuation", JsonValue::Bool(variable.deleteEndPunctuation));
    out.Set("paragraphStyle", Ref(variable.paragraphStyle));
}

void SetTextVariableInstanceFields(const TextVariableInstance& instance, JsonValue& out)
{
    out.Set("variable", Ref(instance.variable));
    out.Set("story", Ref(instance.story));
}

void SetCrossReferenceFormatFields(const CrossReferenceFormat& format, JsonValue& out)
{
    out.Set("name", JsonValue::String(format.name));
    out.Set("definition", JsonValue::String(format.definition));
}

void SetCrossReferenceSourceFields(const CrossReferenceSource& source, JsonValue& out)
{
    out.Set("story", Ref(source.story));
    out.Set("format", Ref(source.format));
    out.Set("key", JsonValue::String(source.key));
    out.Set("file", JsonValue::String(source.file));
    out.Set("destination", Ref(source.destination));
}

void SetTextDestinationFields(const HyperlinkTextDestination& destination, JsonValue& out)
{
    out.Set("story", Ref(destination.story));
    out.Set("name", JsonValue::String(destination.name));
}

// A plug-in's own object: the host knows only its class.
void SetPersistentObjectFields(const PersistentObject& object, JsonValue& out)
{
    out.Set("class", JsonValue::Integer(object.GetClass()));
}

void SetSpreadFields(const Spread& spread, JsonValue& out)
{
    out.Set("pages", RefList(spread.pages));
    out.Set("pageItems", RefList(spread.pageItems));
    out.Set("bindingLocation", JsonValue::Integer(spread.bindingLocation));
}

void SetMasterSpreadFields(const MasterSpread& master, JsonValue& out)
{
    SetSpreadFields(master, out);
    out.Set("prefix", JsonValue::String(master.prefix));
    out.Set("baseName", JsonValue::String(master.baseName));
    out.Set("basedOn", Ref(master.basedOn));
    out.Set("primaryTextFrame", Ref(master.primaryTextFrame));
}

void SetPageFields(const Page& page, JsonValue& out)
{
    out.Set("spread", Ref(page.spread));
    out.Set("appliedMaster", Ref(page.appliedMaster));
    out.Set("boundsInSpread", Rect(page.boundsInSpread));
    out.Set("width", JsonValue::Real(page.width));
    out.Set("height", JsonValue::Real(page.height));
}

JsonValue Matrix(const PMMatrix& m)
{
    JsonValue transform = JsonValue::Array();
    for (PMReal value : {m.a, m.b, m.c, m.d, m.tx, m.ty}) transform.Append(JsonValue::Real(value));
    return transform;
}

JsonValue Point(const PMPoint& p)
{
    JsonValue point = JsonValue::Array();
    point.Append(JsonValue::Real(p.x));
    point.Append(JsonValue::Real(p.y));
    return point;
}

// What every page item has: its place, outline, parent group, painting and import mark.
void SetPageItemFields(const PageItem& item, JsonValue& out)
{
    out.Set("spread", Ref(item.spread));
    out.Set("layer", Ref(item.layer));
    out.Set("parent", Ref(item.parent));
    out.Set("itemTransform", Matrix(item.itemTransform));
    out.Set("pathBounds", Rect(item.pathBounds));
    const GraphicAttributes& g = item.graphics;
    JsonValue graphics = JsonValue::Object();
    graphics.Set("strokeWeight", JsonValue::Real(g.strokeWeight));
    graphics.Set("strokeColor", Ref(g.strokeColor));
    graphics.Set("strokeTint", JsonValue::Real(g.strokeTint));
    graphics.Set("fillColor", Ref(g.fillColor));
    graphics.Set("fillTint", JsonValue::Real(g.fillTint));
    graphics.Set("solidStroke", JsonValue::Bool(g.solidStroke));
    graphics.Set("roundedCorners", JsonValue::Bool(g.roundedCorners));
    graphics.Set("cornerRadius", JsonValue::Real(g.cornerRadius));
    graphics.Set("startLineEnd", JsonValue::String(LineEndName(g.startLineEnd)));
    graphics.Set("endLineEnd", JsonValue::String(LineEndName(g.endLineEnd)));
    graphics.Set("wrapMode", JsonValue::String(TextWrapModeName(g.wrapMode)));
    graphics.Set("wrapMargins", Rect(g.wrapMargins));
    if (g.wrapMode == TextWrapMode::kContour) graphics.Set("wrapForm", JsonValue::String(TextWrapFormName(g.wrapForm)));
    graphics.Set("ignoreWrap", JsonValue::Bool(g.ignoreWrap));
    out.Set("graphics", std::move(graphics));
    out.Set("importMark", JsonValue::Bool(item.importMark));
    if (item.anchorStory != kInvalidUID) {
        out.Set("anchorStory", Ref(item.anchorStory));
        const AnchoredObjectSettings& a = item.anchorSettings;
        JsonValue& anchor = out.Set("anchorSettings", JsonValue::Object());
        anchor.Set("position", JsonValue::String(AnchorPositionName(a.position)));
        anchor.Set("anchorPoint", JsonValue::String(AnchorPointName(a.anchorPoint)));
        anchor.Set("horizontalAlignment", JsonValue::String(AnchorAlignmentName(a.horizontalAlignment)));
        anchor.Set("horizontalReference", JsonValue::String(AnchorHorizontalReferenceName(a.horizontalReference)));
        anchor.Set("verticalAlignment", JsonValue::String(AnchorVerticalAlignmentName(a.verticalAlignment)));
        anchor.Set("verticalReference", JsonValue::String(AnchorVerticalReferenceName(a.verticalReference)));
        anchor.Set("xOffset", JsonValue::Real(a.xOffset));
        anchor.Set("yOffset", JsonValue::Real(a.yOffset));
        anchor.Set("spaceAbove", JsonValue::Real(a.spaceAbove));
        anchor.Set("spineRelative", JsonValue::Bool(a.spineRelative));
    }
}

const char* SplineKindName(SplineKind kind)
{
    switch (kind) {
    case SplineKind::kRectangle: return "rectangle";
    case SplineKind::kOval: return "oval";
    case SplineKind::kPolygon: return "polygon";
    case SplineKind::kGraphicLine: return "line";
    }
    return "polygon";
}

void SetSplineFields(const SplineItem& spline, JsonValue& out)
{
    SetPageItemFields(spline, out);
    out.Set("splineKind", JsonValue::String(SplineKindName(spline.kind)));
    JsonValue path = JsonValue::Array();
    for (const PMPathPoint& point : spline.path) {
        JsonValue entry = JsonValue::Object();
        entry.Set("anchor", Point(point.anchor));
        entry.Set("left", Point(point.left));
        entry.Set("right", Point(point.right));
        path.Append(std::move(entry));
    }
    out.Set("path", std::move(path));
    out.Set("graphic", Ref(spline.graphic));
}

void SetGroupFields(const GroupItem& group, JsonValue& out)
{
    SetPageItemFields(group, out);
    out.Set("children", RefList(group.children));
}

void SetPlacedGraphicFields(const PlacedGraphic& graphic, JsonValue& out)
{
    const char* kinds[] = {"image", "eps", "pdf"};
    out.Set("frame", Ref(graphic.frame));
    out.Set("graphicKind", JsonValue::String(kinds[static_cast<int>(graphic.kind)]));
    out.Set("format", JsonValue::String(graphic.format));
    // The name only: the folder differs from machine to machine.
    out.Set("fileName", JsonValue::String(graphic.file.GetFileName()));
    out.Set("embedded", JsonValue::Bool(graphic.embedded));
    out.Set("dataSize", JsonValue::Integer(static_cast<int64>(graphic.data.size())));
    out.Set("graphicBounds", Rect(graphic.graphicBounds));
    out.Set("itemTransform", Matrix(graphic.itemTransform));
}

void SetTextFrameFields(const TextFrame& frame, JsonValue& out)
{
    SetPageItemFields(frame, out);
    out.Set("story", Ref(frame.story));
    out.Set("previousFrame", Ref(frame.previousFrame));
    out.Set("nextFrame", Ref(frame.nextFrame));
    out.Set("columnCount", JsonValue::Integer(frame.columnCount));
    out.Set("columnGutter", JsonValue::Real(frame.columnGutter));
    out.Set("insets", Rect(frame.insets));
    out.Set("firstBaselineOffset", JsonValue::String(FirstBaselineOffsetName(frame.firstBaselineOffset)));
}


void SetLayerFields(const Layer& layer, JsonValue& out)
{
    out.Set("name", JsonValue::String(layer.name));
    out.Set("visible", JsonValue::Bool(layer.visible));
    out.Set("locked", JsonValue::Bool(layer.locked));
}

void SetSectionFields(const Section& section, JsonValue& out)
{
    out.Set("startPage", Ref(section.startPage));
    out.Set("continueNumbering", JsonValue::Bool(section.continueNumbering));
    out.Set("pageNumberStart", JsonValue::Integer(section.pageNumberStart));
    out.Set("numberingStyle", JsonValue::String(PageNumbering::StyleName(section.numberingStyle)));
    out.Set("marker", JsonValue::String(section.marker));
}

const char* SwatchKindName(SwatchKind kind)
{
    switch (kind) {
    case SwatchKind::kNone: return "None";
    case SwatchKind::kPaper: return "Paper";
    case SwatchKind::kRegistration: return "Registration";
    case SwatchKind::kProcess: return "Process";
    case SwatchKind::kSpot: return "Spot";
    case SwatchKind::kTint: return "Tint";
    }
    return "Unknown";
}

void SetSwatchFields(const Swatch& swatch, JsonValue& out)
{
    out.Set("name", JsonValue::String(swatch.name));
    out.Set("swatchKind", JsonValue::String(SwatchKindName(swatch.kind)));
    JsonValue cmyk = JsonValue::Array();
    for (double component : {swatch.cyan, swatch.magenta, swatch.yellow, swatch.black}) cmyk.Append(JsonValue::Real(component));
    out.Set("cmyk", std::move(cmyk));
    out.Set("base", Ref(swatch.base));
    out.Set("tint", JsonValue::Real(swatch.tint));
    out.Set("reserved", JsonValue::Bool(swatch.reserved));
}

// The attribute's name: its TextAttribute constant without the k, in lower camel case.
const char* AttributeName(TextAttribute kind)
{
    static const char* const kNames[] = {
        "fontFamily", "fontStyle", "pointSize", "position", "fillColor", "horizontalScale", "tracking",
        "capitalization", "underline", "strikeThru", "leading", "composer", "rightIndent", "firstLineIndent", "leftIndent", "spaceBefore",
        "spaceAfter", "startParagraph", "justification", "tabStops", "hyphenation", "minWordSpacing",
        "desiredWordSpacing", "maxWordSpacing", "keepWithNext", "keepFirstLines", "keepLastLines",
        "keepLinesTogether", "listType", "appliedList", "numberingExpression", "numberingStyle", "listLevel",
        "numberingCharStyle", "numberingStartAt", "numberingContinue", "ruleAbove", "ruleAboveLineWeight",
        "ruleAboveColor", "ruleAboveTint", "ruleAboveOffset", "ruleAboveLeftIndent", "ruleAboveRightIndent",
        "ruleAboveWidth", "ruleBelow", "ruleBelowLineWeight", "ruleBelowColor", "ruleBelowTint", "ruleBelowOffset",
        "ruleBelowLeftIndent", "ruleBelowRightIndent", "ruleBelowWidth"};
    auto index = static_cast<size_t>(kind);
    return index < std::size(kNames) ? kNames[index] : "unknown";
}

JsonValue TabStops(const TabStopTable& table)
{
    JsonValue stops = JsonValue::Array();
    for (const TabStop& stop : table.GetStops()) {
        JsonValue& entry = stops.Append(JsonValue::Object());
        entry.Set("position", JsonValue::Real(stop.position));
        entry.Set("alignment", JsonValue::Integer(stop.alignment));
        entry.Set("alignCharacter", JsonValue::String(stop.alignCharacter));
        entry.Set("leader", JsonValue::String(stop.leader));
    }
    return stops;
}

// Each value as its kind of value prints; UIDs (references) like every other reference.
JsonValue AttributeValueOf(const AttributeValue& value)
{
    struct Visitor {
        JsonValue operator()(bool v) const { return JsonValue::Bool(v); }
        JsonValue operator()(int32 v) const { return JsonValue::Integer(v); }
        JsonValue operator()(PMReal v) const { return JsonValue::Real(v); }
        JsonValue operator()(const PMString& v) const { return JsonValue::String(v); }
        JsonValue operator()(UID v) const { return Ref(v); }
        JsonValue operator()(const TabStopTable& v) const { return TabStops(v); }
    };
    return std::visit(Visitor{}, value);
}

JsonValue Attributes(const AttributeBossList& list)
{
    JsonValue attributes = JsonValue::Object();
    for (const auto& [kind, value] : list.GetAttributes()) attributes.Set(AttributeName(kind), AttributeValueOf(value));
    return attributes;
}

void SetStyleFields(const Style& style, JsonValue& out)
{
    out.Set("name", JsonValue::String(style.name));
    out.Set("styleKind", JsonValue::String(style.kind == StyleKind::kParagraph ? "Paragraph" : "Character"));
    out.Set("basedOn", Ref(style.basedOn));
    out.Set("nextStyle", Ref(style.nextStyle));
    out.Set("reserved", JsonValue::Bool(style.reserved));
    out.Set("attributes", Attributes(style.attributes));
}

const char* ThreadKindName(TextThreadKind kind)
{
    switch (kind) {
    case TextThreadKind::kPrimary: return "Story";
    case TextThreadKind::kFootnote: return "Footnote";
    case TextThreadKind::kCell: return "Cell";
    }
    return "Story";
}

// The lines of a frame (its own or its footnotes'), each with its range and baseline.
JsonValue LinesValue(const std::vector<ComposedLine>& from)
{
    JsonValue lines = JsonValue::Array();
    for (const ComposedLine& line : from) {
        JsonValue item = JsonValue::Object();
        item.Set("start", JsonValue::Integer(line.start));
        item.Set("length", JsonValue::Integer(line.length));
        item.Set("baseline", JsonValue::Real(line.baseline));
        if (line.hyphenated) item.Set("hyphenated", JsonValue::Bool(true));
        lines.Append(std::move(item));
    }
    return lines;
}

// Where each table landed: the part of its rows in each column.
JsonValue TablePartsValue(const std::vector<ComposedTablePart>& tableParts)
{
    JsonValue parts = JsonValue::Array();
    for (const ComposedTablePart& part : tableParts) {
        JsonValue item = JsonValue::Object();
        item.Set("table", Ref(part.table ? part.table->table : kInvalidUID));
        item.Set("column", JsonValue::Integer(part.column));
        item.Set("left", JsonValue::Real(part.left));
        item.Set("top", JsonValue::Real(part.top));
        item.Set("height", JsonValue::Real(part.height));
        JsonValue& rows = item.Set("rows", JsonValue::Array());
        for (int32 r : part.rows) rows.Append(JsonValue::Integer(r));
        if (part.continued) item.Set("continued", JsonValue::Bool(true));
        if (part.clipped) item.Set("clipped", JsonValue::Bool(true));
        parts.Append(std::move(item));
    }
    return parts;
}

// A composed frame: the characters it holds, its lines, footnote lines, anchored items and
// table parts.
JsonValue ComposedFrameValue(const ComposedFrame& frame)
{
    JsonValue entry = JsonValue::Object();
    entry.Set("frame", Ref(frame.frame));
    entry.Set("start", JsonValue::Integer(frame.start));
    entry.Set("length", JsonValue::Integer(frame.length));
    entry.Set("lines", LinesValue(frame.lines));
    if (!frame.footnoteLines.empty()) entry.Set("footnoteLines", LinesValue(frame.footnoteLines));
    if (!frame.anchors.empty()) {
        JsonValue& anchors = entry.Set("anchors", JsonValue::Array());
        for (const PlacedAnchor& placed : frame.anchors) {
            JsonValue item = JsonValue::Object();
            item.Set("index", JsonValue::Integer(placed.index));
            item.Set("item", Ref(placed.item));
            item.Set("bounds", Rect(placed.bounds));
            anchors.Append(std::move(item));
        }
    }
    if (!frame.tableParts.empty()) entry.Set("tableParts", TablePartsValue(frame.tableParts));
    return entry;
}

// The whole text (every thread, with its returns), then the threads, the paragraph runs, the
// character runs and the anchored items, each with its range; then the composed text: per frame
// the characters it holds and each line's range and baseline.
void SetStoryFields(const Story& story, JsonValue& out)
{
    const TextModel& model = story.textModel;
    out.Set("text", JsonValue::String(PMString(model.GetText(0, model.TotalLength()))));
    JsonValue& threads = out.Set("threads", JsonValue::Array());
    model.ForEachThread([&](const TextRange& range, const TextThread& thread) {
        JsonValue item = JsonValue::Object();
        item.Set("kind", JsonValue::String(ThreadKindName(thread.kind)));
        item.Set("owner", Ref(thread.owner));
        item.Set("start", JsonValue::Integer(range.start));
        item.Set("length", JsonValue::Integer(range.length));
        threads.Append(std::move(item));
    });
    auto runs = [&](const char* name, void (TextModel::*walk)(int32, int32, TextModel::RunVisitor) const) {
        JsonValue& list = out.Set(name, JsonValue::Array());
        (model.*walk)(0, model.TotalLength(), [&](int32 start, int32 length, const TextFormat& format) {
            JsonValue item = JsonValue::Object();
            item.Set("start", JsonValue::Integer(start));
            item.Set("length", JsonValue::Integer(length));
            item.Set("style", Ref(format.style));
            item.Set("overrides", Attributes(format.overrides));
            list.Append(std::move(item));
        });
    };
    runs("paragraphs", &TextModel::ForEachParagraph);
    runs("characterRuns", &TextModel::ForEachCharacterRun);
    JsonValue& owned = out.Set("ownedItems", JsonValue::Array());
    model.ForEachOwnedItem(0, model.TotalLength(), [&](int32 index, UID item) {
        JsonValue entry = JsonValue::Object();
        entry.Set("index", JsonValue::Integer(index));
        entry.Set("item", Ref(item));
        owned.Append(std::move(entry));
    });
    const FrameList& frameList = story.frameList;
    if (!frameList.IsComposed()) return;
    JsonValue& composition = out.Set("composition", JsonValue::Object());
    composition.Set("overset", JsonValue::Bool(frameList.Overflows()));
    if (frameList.Overflows()) composition.Set("oversetIndex", JsonValue::Integer(frameList.GetOversetIndex()));
    JsonValue& frames = composition.Set("frames", JsonValue::Array());
    for (const ComposedFrame& frame : frameList.GetFrames()) frames.Append(ComposedFrameValue(frame));
}

void SetFootnoteFields(const Footnote& footnote, JsonValue& out) { out.Set("story", Ref(footnote.story)); }

JsonValue StrokeValue(const TableStroke& stroke)
{
    JsonValue out = JsonValue::Object();
    out.Set("weight", JsonValue::Real(stroke.weight));
    out.Set("color", Ref(stroke.color));
    out.Set("tint", JsonValue::Real(stroke.tint));
    out.Set("type", JsonValue::Integer(stroke.type));
    return out;
}

JsonValue FillValue(const TableAlternatingFill& fill)
{
    JsonValue out = JsonValue::Object();
    out.Set("firstColor", Ref(fill.firstColor));
    out.Set("nextColor", Ref(fill.nextColor));
    out.Set("firstCount", JsonValue::Integer(fill.firstCount));
    out.Set("nextCount", JsonValue::Integer(fill.nextCount));
    out.Set("firstTint", JsonValue::Real(fill.firstTint));
    out.Set("nextTint", JsonValue::Real(fill.nextTint));
    return out;
}

// The grid: rows and columns with their sizes, every cell (covered ones marked), and the edges
// between them row by row.
void SetTableFields(const Table& table, JsonValue& out)
{
    out.Set("story", Ref(table.story));
    out.Set("headerRowCount", JsonValue::Integer(table.headerRowCount));
    out.Set("bodyRowCount", JsonValue::Integer(table.BodyRowCount()));
    out.Set("footerRowCount", JsonValue::Integer(table.footerRowCount));
    out.Set("spaceBefore", JsonValue::Real(table.spaceBefore));
    out.Set("spaceAfter", JsonValue::Real(table.spaceAfter));
    out.Set("alternatingPattern", JsonValue::Integer(table.alternatingPattern));
    out.Set("rowFill", FillValue(table.rowFill));
    out.Set("columnFill", FillValue(table.columnFill));
    JsonValue& rows = out.Set("rows", JsonValue::Array());
    for (const TableRow& row : table.rows) {
        JsonValue item = JsonValue::Object();
        item.Set("height", JsonValue::Real(row.height));
        item.Set("minHeight", JsonValue::Real(row.minHeight));
        item.Set("maxHeight", JsonValue::Real(row.maxHeight));
        item.Set("autoGrow", JsonValue::Bool(row.autoGrow));
        item.Set("keepWithNext", JsonValue::Integer(row.keepWithNext));
        rows.Append(std::move(item));
    }
    JsonValue& columns = out.Set("columns", JsonValue::Array());
    for (const TableColumn& column : table.columns) columns.Append(JsonValue::Real(column.width));
    JsonValue& cells = out.Set("cells", JsonValue::Array());
    for (const TableCell& cell : table.cells) {
        JsonValue item = JsonValue::Object();
        item.Set("text", Ref(cell.text));
        item.Set("covered", JsonValue::Bool(cell.covered));
        item.Set("rowSpan", JsonValue::Integer(cell.rowSpan));
        item.Set("columnSpan", JsonValue::Integer(cell.columnSpan));
        JsonValue& insets = item.Set("insets", JsonValue::Array());
        for (PMReal inset : cell.insets) insets.Append(JsonValue::Real(inset));
        item.Set("fillColor", Ref(cell.fillColor));
        item.Set("fillTint", JsonValue::Real(cell.fillTint));
        item.Set("rotation", JsonValue::Real(cell.rotation));
        item.Set("firstLineRule", JsonValue::Integer(cell.firstLineRule));
        item.Set("verticalJustification", JsonValue::Integer(cell.verticalJustification));
        cells.Append(std::move(item));
    }
    JsonValue& rowEdges = out.Set("rowEdges", JsonValue::Array());
    for (const TableStroke& edge : table.rowEdges) rowEdges.Append(StrokeValue(edge));
    JsonValue& columnEdges = out.Set("columnEdges", JsonValue::Array());
    for (const TableStroke& edge : table.columnEdges) columnEdges.Append(StrokeValue(edge));
}

void SetCellTextFields(const CellText& text, JsonValue& out) { out.Set("table", Ref(text.table)); }

void SetNumberingListFields(const NumberingList& list, JsonValue& out)
{
    out.Set("name", JsonValue::String(list.name));
    out.Set("continueAcrossStories", JsonValue::Bool(list.continueAcrossStories));
    out.Set("continueFromPreviousDocument", JsonValue::Bool(list.continueFromPreviousDocument));
    out.Set("reserved", JsonValue::Bool(list.reserved));
}

void SetFontFamilyFields(const FontFamily& family, JsonValue& out)
{
    out.Set("name", JsonValue::String(family.name));
    out.Set("styles", StringList(family.styles));
    out.Set("installed", JsonValue::Bool(family.installed));
}

// Sets "kind" and the fields when `object` is a T; false when it is not.
template <class T>
bool DumpAs(const DocObject& object, const char* kind, void (*setFields)(const T&, JsonValue&), JsonValue& out)
{
    const T* typed = dynamic_cast<const T*>(&object);
    if (!typed) return false;
    out.Set("kind", JsonValue::String(kind));
    setFields(*typed, out);
    return true;
}

JsonValue DumpObject(const DocObject& object)
{
    JsonValue out = JsonValue::Object();
    out.Set("uid", JsonValue::Integer(object.GetUID()));
    // More derived kinds first: a master spread is also a spread.
    bool known = DumpAs<Document>(object, "Document", SetDocumentFields, out) ||
                 DumpAs<MasterSpread>(object, "MasterSpread", SetMasterSpreadFields, out) ||
                 DumpAs<Spread>(object, "Spread", SetSpreadFields, out) ||
                 DumpAs<Page>(object, "Page", SetPageFields, out) ||
                 DumpAs<Layer>(object, "Layer", SetLayerFields, out) ||
                 DumpAs<TextFrame>(object, "TextFrame", SetTextFrameFields, out) ||
                 DumpAs<SplineItem>(object, "Spline", SetSplineFields, out) ||
                 DumpAs<GroupItem>(object, "Group", SetGroupFields, out) ||
                 DumpAs<PlacedGraphic>(object, "PlacedGraphic", SetPlacedGraphicFields, out) ||
                 DumpAs<Story>(object, "Story", SetStoryFields, out) ||
                 DumpAs<Footnote>(object, "Footnote", SetFootnoteFields, out) ||
                 DumpAs<Table>(object, "Table", SetTableFields, out) ||
                 DumpAs<CellText>(object, "CellText", SetCellTextFields, out) ||
                 DumpAs<Section>(object, "Section", SetSectionFields, out) ||
                 DumpAs<Swatch>(object, "Swatch", SetSwatchFields, out) ||
                 DumpAs<Style>(object, "Style", SetStyleFields, out) ||
                 DumpAs<NumberingList>(object, "NumberingList", SetNumberingListFields, out) ||
                 DumpAs<FontFamily>(object, "FontFamily", SetFontFamilyFields, out) ||
                 DumpAs<TextVariable>(object, "TextVariable", SetTextVariableFields, out) ||
                 DumpAs<TextVariableInstance>(object, "TextVariableInstance", SetTextVariableInstanceFields, out) ||
                 DumpAs<CrossReferenceFormat>(object, "CrossReferenceFormat", SetCrossReferenceFormatFields, out) ||
                 DumpAs<CrossReferenceSource>(object, "CrossReferenceSource", SetCrossReferenceSourceFields, out) ||
                 DumpAs<HyperlinkTextDestination>(object, "TextDestination", SetTextDestinationFields, out) ||
                 DumpAs<PersistentObject>(object, "PersistentObject", SetPersistentObjectFields, out);
    if (!known) out.Set("kind", JsonValue::String("Unknown"));
    return out;
}

} // namespace

std::string JsonDumpWriter::Dump(const DataBase& db)
{
    try {
        JsonValue root = JsonValue::Object();
        root.Set("format", JsonValue::String("tessel-document-dump"));
        root.Set("version", JsonValue::Integer(kDumpVersion));
        root.Set("document", Ref(db.GetDocument() ? db.GetDocument()->GetUID() : kInvalidUID));
        JsonValue& objects = root.Set("objects", JsonValue::Array());
        for (const auto& [uid, object] : db.GetObjects()) objects.Append(DumpObject(*object));
        return root.Serialize();
    } catch (...) {  // out of memory: the only way building the dump fails
        return std::string();
    }
}

ErrorCode JsonDumpWriter::Write(const DataBase& db, const IDFile& out)
{
    std::string text = Dump(db);
    ErrorCode result = text.empty() ? kOutOfMemoryError : AtomicFileWriter::Write(out, text);
    if (result != kSuccess) ErrorUtils::PMSetGlobalErrorCode(result);
    return result;
}
