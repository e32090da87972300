// Every paragraph of every text flow of the corpus arrives in the story that the flow's text
// columns became, in order, decoded, and in the package's story; footnote text arrives in the
// footnotes of that story; every table anchored in a body flow arrives at its anchor with its
// rows, columns, spans, header and footer rows and every cell's text.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IdmlIds.h"
#include "IdmlPackage.h"
#include "IdmlWriter.h"
#include "IImportProvider.h"
#include "Story.h"
#include "Table.h"
#include "TestUtils.h"
#include "TextComposer.h"

#include "base/MifDocInterface.h"
#include "layout/IMifLayoutImporter.h"
#include "mif/IMifTextConverter.h"

namespace {

// The family of a font statement, when it names one.
const PMString* FamilyOf(const MifObject* font)
{
    const MifProp* family = font ? font->FindProp(kMifFFamily) : nullptr;
    return family && family->value.rawString ? family->value.rawString : nullptr;
}

// The text of every String of `paragraphs`' Para statements, decoded as the file's version says:
// escapes in new files, the 8-bit set of the font family in force in old ones. The characters no
// story holds are left out.
void CollectStrings(const MifObject& root, const MifObject& paragraphs, bool old, IMifTextConverter& converter,
                    std::vector<std::u16string>& out)
{
    std::map<std::u16string, const MifObject*> pgfs, fonts;
    if (const MifObject* catalog = root.GetObject(kMifPgfCatalog))
        for (const MifProp* pgf : catalog->props)
            if (pgf->id == kMifPgf && pgf->type == kMifTypeObject)
                if (const MifProp* tag = pgf->value.object->FindProp(kMifPgfTag); tag && tag->value.rawString)
                    pgfs[tag->value.rawString->GetUTF16()] = pgf->value.object;
    if (const MifObject* catalog = root.GetObject(kMifFontCatalog))
        for (const MifProp* font : catalog->props)
            if (font->id == kMifFont && font->type == kMifTypeObject)
                if (const MifProp* tag = font->value.object->FindProp(kMifFTag); tag && tag->value.rawString)
                    fonts[tag->value.rawString->GetUTF16()] = font->value.object;
    PMString paragraphFamily;
    for (const MifProp* para : paragraphs.props) {
        if (para->id != kMifPara || para->type != kMifTypeObject) continue;
        if (const MifProp* tag = para->value.object->FindProp(kMifPgfTag, false); tag && tag->value.rawString) {
            auto format = pgfs.find(tag->value.rawString->GetUTF16());
            const PMString* family = format == pgfs.end() ? nullptr : FamilyOf(format->second->GetObject(kMifPgfFont));
            paragraphFamily = family ? *family : PMString();
        }
        if (const MifObject* own = para->value.object->GetObject(kMifPgf))
            if (const PMString* family = FamilyOf(own->GetObject(kMifPgfFont))) paragraphFamily = *family;
        PMString textFamily = paragraphFamily;
        for (const MifProp* line : para->value.object->props) {
            if (line->id != kMifParaLine || line->type != kMifTypeObject) continue;
            for (const MifProp* item : line->value.object->props) {
                if (item->id == kMifFont && item->type == kMifTypeObject) {
                    if (const MifProp* tag = item->value.object->FindProp(kMifFTag); tag && tag->value.rawString) {
                        auto format = fonts.find(tag->value.rawString->GetUTF16());
                        const PMString* family = format == fonts.end() ? nullptr : FamilyOf(format->second);
                        textFamily = family ? *family : paragraphFamily;
                    }
                    if (const PMString* family = FamilyOf(item->value.object)) textFamily = *family;
                    continue;
                }
                if (item->id != kMifString || !item->value.rawString) continue;
                PMString text = *item->value.rawString;
                if (old)
                    converter.ConvertFontString(text, textFamily, &root);
                else
                    converter.DecodeEscapes(text);
                std::u16string kept;
                for (char16_t c : text.GetUTF16())
                    if (c >= 0x20 || c == '\t' || c == '\n') kept.push_back(c);
                if (!kept.empty()) out.push_back(kept);
            }
        }
    }
}

// The pieces that hold more than white space (a package's reader drops white-space text).
std::vector<std::u16string> Visible(const std::vector<std::u16string>& pieces)
{
    std::vector<std::u16string> visible;
    for (const std::u16string& piece : pieces)
        if (piece.find_first_not_of(u" \t\n\u00A0") != std::u16string::npos) visible.push_back(piece);
    return visible;
}

// Whether every piece is found in `text`, in order; the first one missing otherwise.
std::string MissingInOrder(const std::u16string& text, const std::vector<std::u16string>& pieces)
{
    size_t at = 0;
    for (const std::u16string& piece : pieces) {
        size_t found = text.find(piece, at);
        if (found == std::u16string::npos) return PMString(piece).GetUTF8String();
        at = found + piece.size();
    }
    return std::string();
}

int32 FirstTextRectId(const MifObject& flow)
{
    for (const MifProp* para : flow.props) {
        if (para->id != kMifPara || para->type != kMifTypeObject) continue;
        MifPropVal id;
        if (para->value.object->GetPropValDeep(kMifTextRectID, id, true, 1)) return id.id;
    }
    return -1;
}

// The Content text of a package's story, in document order (footnotes inline), with forced
// line breaks as the model keeps them.
std::u16string PackageText(const IdmlPackage& idml, UID story)
{
    std::u16string text;
    std::function<void(pugi::xml_node)> walk = [&](pugi::xml_node node) {
        for (pugi::xml_node child : node.children()) {
            if (child.type() == pugi::node_pcdata && std::string(node.name()) == "Content") {
                std::u16string piece = PMString(child.value()).GetUTF16();
                for (char16_t& c : piece)
                    if (c == u'\u2028') c = u'\n';
                text += piece;
            }
            walk(child);
        }
    };
    walk(idml.Part(IdmlIds::StoryPart(story)));
    return text;
}

} // namespace

TEST(CorpusTextContent, EveryParagraphArrivesInItsStory)
{
    auto files = CorpusFiles();
    ASSERT_GE(files.size(), 15u);
    int checked = 0;
    for (const auto& path : files) {
        SCOPED_TRACE(path.string());
        ParsedMif mif(ReadFile(path.string()));
        InterfacePtr<IMifTextConverter> converter(mif.parser.get(), IID_IMIFTEXTCONVERTER);
        ASSERT_TRUE(converter);
        MifPropVal version;
        bool old = !mif.root->GetPropVal(kMifMIFFile, version) || version.number < 8.0;

        UIDRef document;
        PMString message;
        ASSERT_EQ(DocumentOpener::OpenFile(IDFile(path), kSuppressUI, document, message), kSuccess) << message.GetUTF8String();
        CmdUtils::ProcessScheduledCmds();
        DataBase* db = document.GetDataBase();
        InterfacePtr<IMifLayoutImporter> importer = MifDocInterface<IMifLayoutImporter>(db);
        ASSERT_TRUE(importer);
        std::string bytes;
        ASSERT_EQ(IdmlWriter::BuildPackage(*db, &bytes), kSuccess);
        IdmlPackage idml = IdmlPackage::FromBytes(bytes);
        ASSERT_TRUE(idml.IsOpen());

        std::map<const Story*, int32> paragraphsOf;  // the Para statements poured into each story
        for (const MifProp* prop : mif.root->props) {
            if (prop->id != kMifTextFlow || prop->type != kMifTypeObject) continue;
            const MifObject& flow = *prop->value.object;
            const Story* story = db->Get<Story>(importer->GetStoryOfTextRect(FirstTextRectId(flow)).GetUID());
            if (!story) continue;  // a flow of reference pages: not converted
            for (const MifProp* para : flow.props) paragraphsOf[story] += para->id == kMifPara ? 1 : 0;
            std::vector<std::u16string> body, notes;
            CollectStrings(*mif.root, flow, old, *converter, body);
            for (const MifProp* item : flow.props)
                if (item->id == kMifNotes && item->type == kMifTypeObject)
                    for (const MifProp* note : item->value.object->props)
                        if (note->id == kMifFNote && note->type == kMifTypeObject) CollectStrings(*mif.root, *note->value.object, old, *converter, notes);

            const TextModel& model = story->textModel;
            // The tables' characters and the returns that set tables apart from the text around
            // them stand between the pieces.
            std::u16string primary;
            for (char16_t c : model.GetText(0, model.GetThreadRange(0).length))
                if (c != kTextChar_Table && c != kTextChar_CR) primary.push_back(c);
            EXPECT_EQ(MissingInOrder(primary, body), "") << "flow at line " << flow.line;
            std::u16string footnotes;
            model.ForEachThread([&](const TextRange& range, const TextThread& thread) {
                if (thread.kind == TextThreadKind::kFootnote) footnotes += model.GetText(range.start, range.length);
            });
            EXPECT_EQ(MissingInOrder(footnotes, notes), "") << "footnotes of the flow at line " << flow.line;
            // The package holds the same text: the body's pieces in order, the footnotes' too.
            std::u16string package = PackageText(idml, story->GetUID());
            EXPECT_EQ(MissingInOrder(package, Visible(body)), "") << "package story " << story->GetUID();
            EXPECT_EQ(MissingInOrder(package, Visible(notes)), "") << "package footnotes " << story->GetUID();
            checked += static_cast<int>(body.size() + notes.size());
        }
        // Each Para is one paragraph of its story: none merged or lost. A table has a paragraph
        // of its own, and one anchored inside its paragraph splits it after the anchoring line.
        for (const auto& [story, paragraphs] : paragraphsOf) {
            int32 made = 0, tables = 0;
            const TextModel& model = story->textModel;
            model.ForEachParagraph(0, model.GetThreadRange(0).length, [&](int32 start, int32, const TextFormat&) {
                if (model.GetChar(start) == kTextChar_Table) ++tables;
                else ++made;
            });
            EXPECT_GE(made, paragraphs) << "story " << story->GetUID();
            EXPECT_LE(made, paragraphs + tables) << "story " << story->GetUID();
        }
        importer = InterfacePtr<IMifLayoutImporter>();
        DocumentList::Close(db);
    }
    EXPECT_GT(checked, 1000);
}

namespace {

int32 RowsIn(const MifObject& tbl, int32 section)
{
    int32 rows = 0;
    for (const MifObject& part : tbl.Children(section))
        for (const MifObject& row : part.Children(kMifRow)) rows += row.id == kMifRow;
    return rows;
}

// The TblIDs the paragraphs of `flow` anchor, in order.
std::vector<int32> AnchoredTables(const MifObject& flow)
{
    std::vector<int32> ids;
    for (const MifObject& para : flow.Children(kMifPara))
        for (const MifObject& line : para.Children(kMifParaLine))
            for (const MifProp* item : line.props)
                if (item->id == kMifATbl) ids.push_back(item->value.id);
    return ids;
}

} // namespace

// The width of the cell's text: its columns less its insets.
PMReal TableWidthOf(const Table& table, const TableCell& cell)
{
    for (int32 i = 0; i < static_cast<int32>(table.cells.size()); ++i) {
        if (&table.cells[static_cast<size_t>(i)] != &cell) continue;
        PMReal width = 0;
        const int32 column = i % table.ColumnCount();
        for (int32 c = column; c < std::min(table.ColumnCount(), column + std::max(1, cell.columnSpan)); ++c)
            width += table.columns[static_cast<size_t>(c)].width;
        return width - cell.insets[0] - cell.insets[2];
    }
    return 0;
}

TEST(CorpusTextContent, EveryAnchoredTableArrivesWithItsCells)
{
    int tablesChecked = 0, cellsChecked = 0;
    for (const auto& path : CorpusFiles()) {
        SCOPED_TRACE(path.string());
        ParsedMif mif(ReadFile(path.string()));
        InterfacePtr<IMifTextConverter> converter(mif.parser.get(), IID_IMIFTEXTCONVERTER);
        ASSERT_TRUE(converter);
        MifPropVal version;
        const bool old = !mif.root->GetPropVal(kMifMIFFile, version) || version.number < 8.0;
        const MifObject* tbls = mif.root->GetObject(kMifTbls);
        if (!tbls) continue;
        UIDRef document;
        PMString message;
        ASSERT_EQ(DocumentOpener::OpenFile(IDFile(path), kSuppressUI, document, message), kSuccess) << message.GetUTF8String();
        CmdUtils::ProcessScheduledCmds();
        DataBase* db = document.GetDataBase();
        InterfacePtr<IMifLayoutImporter> importer = MifDocInterface<IMifLayoutImporter>(db);
        ASSERT_TRUE(importer);
        std::string bytes;
        ASSERT_EQ(IdmlWriter::BuildPackage(*db, &bytes), kSuccess);
        IdmlPackage idml = IdmlPackage::FromBytes(bytes);
        ASSERT_TRUE(idml.IsOpen());
        EXPECT_EQ(idml.Check(), std::vector<std::string>());
        for (const MifObject& flow : mif.root->Children(kMifTextFlow)) {
            const Story* story = db->Get<Story>(importer->GetStoryOfTextRect(FirstTextRectId(flow)).GetUID());
            if (!story) continue;
            std::vector<const Table*> tables;
            story->textModel.ForEachOwnedItem(0, story->textModel.GetThreadRange(0).End(), [&](int32, UID item) {
                if (const Table* table = db->Get<Table>(item)) tables.push_back(table);
            });
            // The anchors of tables that can be built (a Tbl without columns or body rows is
            // refused with its message, as the import's own tests check).
            std::vector<int32> ids;
            for (int32 id : AnchoredTables(flow)) {
                const MifObject* tbl = tbls->FindObjectWithId(kMifTblID, id, 1);
                MifPropVal columns;
                if (tbl && tbl->GetPropVal(kMifTblNumColumns, columns) && columns.id >= 1 && RowsIn(*tbl, kMifTblBody) >= 1 &&
                    std::find(ids.begin(), ids.end(), id) == ids.end())
                    ids.push_back(id);
            }
            ASSERT_EQ(tables.size(), ids.size()) << "flow at line " << flow.line;
            for (size_t t = 0; t < ids.size(); ++t) {
                const MifObject* tbl = tbls->FindObjectWithId(kMifTblID, ids[t], 1);
                ASSERT_NE(tbl, nullptr);
                const Table& table = *tables[t];
                MifPropVal columns;
                ASSERT_TRUE(tbl->GetPropVal(kMifTblNumColumns, columns));
                EXPECT_EQ(table.ColumnCount(), columns.id);
                // The title placement: the Tbl's own format, else the catalog format of its tag.
                const MifObject* format = tbl->GetObject(kMifTblFormat);
                const MifProp* tagProp = format && format->FindProp(kMifTblTag) ? format->FindProp(kMifTblTag) : tbl->FindProp(kMifTblTag);
                const MifObject* catalog = mif.root->GetObject(kMifTblCatalog);
                const MifObject* catalogFormat = catalog && tagProp && tagProp->value.rawString
                                                     ? catalog->FindObjectWithString(kMifTblTag, *tagProp->value.rawString, 1)
                                                     : nullptr;
                MifPropVal placement;
                const bool placed = (format && format->GetPropVal(kMifTblTitlePlacement, placement)) ||
                                    (catalogFormat && catalogFormat->GetPropVal(kMifTblTitlePlacement, placement));
                const bool title = placed && (placement.keyword == kMifInHeader || placement.keyword == kMifInFooter);
                const int32 titleRows = title ? 1 : 0;
                const bool titleAbove = title && placement.keyword == kMifInHeader;
                EXPECT_EQ(table.headerRowCount, RowsIn(*tbl, kMifTblH) + (titleAbove ? 1 : 0));
                EXPECT_EQ(table.BodyRowCount(), RowsIn(*tbl, kMifTblBody));
                EXPECT_EQ(table.footerRowCount, RowsIn(*tbl, kMifTblF) + (title && !titleAbove ? 1 : 0));
                EXPECT_EQ(table.RowCount(), RowsIn(*tbl, kMifTblH) + RowsIn(*tbl, kMifTblBody) + RowsIn(*tbl, kMifTblF) + titleRows);
                // Every cell: its span and its text.
                int32 row = titleAbove ? 1 : 0;
                for (const MifProp* section : tbl->props) {
                    if ((section->id != kMifTblH && section->id != kMifTblBody && section->id != kMifTblF) || section->type != kMifTypeObject) continue;
                    for (const MifObject& mifRow : section->value.object->Children(kMifRow)) {
                        int32 column = 0;
                        for (const MifObject& mifCell : mifRow.Children(kMifCell)) {
                            const GridAddress at{row, column++};
                            if (!table.IsValid(at)) continue;
                            const TableCell& cell = table.CellAt(at);
                            MifPropVal span;
                            const int32 rows = mifCell.GetPropVal(kMifCellRows, span) ? span.id : 1;
                            const int32 cols = mifCell.GetPropVal(kMifCellColumns, span) ? span.id : 1;
                            if (cell.covered) continue;
                            EXPECT_EQ(cell.rowSpan, rows) << "cell at line " << mifCell.line;
                            EXPECT_EQ(cell.columnSpan, cols) << "cell at line " << mifCell.line;
                            const MifObject* content = mifCell.GetObject(kMifCellContent);
                            if (!content) continue;
                            std::vector<std::u16string> pieces;
                            CollectStrings(*mif.root, *content, old, *converter, pieces);
                            const TextRange thread = story->textModel.FindThread(cell.text);
                            const std::u16string text = story->textModel.GetText(thread.start, thread.length);
                            EXPECT_EQ(MissingInOrder(text, pieces), "") << "cell at line " << mifCell.line;
                            ++cellsChecked;
                        }
                        ++row;
                    }
                }
                // The package holds the table with the same grid.
                pugi::xml_node element = idml.Part(IdmlIds::StoryPart(story->GetUID())).find_node([&](pugi::xml_node node) {
                    return std::string(node.name()) == "Table" && node.attribute("Self").value() == IdmlIds::ForUID(table.GetUID());
                });
                ASSERT_TRUE(element);
                EXPECT_EQ(element.attribute("BodyRowCount").as_int(), table.BodyRowCount());
                EXPECT_EQ(element.attribute("ColumnCount").as_int(), table.ColumnCount());
                // Composed: every body row lands once in the table's parts, and every cell's
                // text is set in lines that hold all of it.
                TextComposer::Get().Compose(*const_cast<Story*>(story));
                int32 anchor = -1;
                story->textModel.ForEachOwnedItem(0, story->textModel.GetThreadRange(0).End(), [&](int32 index, UID item) {
                    if (item == table.GetUID()) anchor = index;
                });
                if (story->frameList.FindFrameOfIndex(anchor) != kInvalidUID) {
                    std::vector<int32> shown(static_cast<size_t>(table.RowCount()), 0);
                    const ComposedTable* composed = nullptr;
                    bool overset = false;
                    for (const ComposedFrame& frame : story->frameList.GetFrames())
                        for (const ComposedTablePart& part : frame.tableParts) {
                            if (!part.table || part.table->table != table.GetUID()) continue;
                            composed = part.table.get();
                            for (int32 r : part.rows)
                                if (r >= table.headerRowCount && r < table.RowCount() - table.footerRowCount) ++shown[static_cast<size_t>(r)];
                        }
                    overset = story->frameList.Overflows() && story->frameList.GetOversetIndex() == anchor;
                    ASSERT_NE(composed, nullptr) << "table " << ids[t];
                    for (int32 r = table.headerRowCount; r < table.RowCount() - table.footerRowCount && !overset; ++r)
                        EXPECT_EQ(shown[static_cast<size_t>(r)], 1) << "table " << ids[t] << " row " << r;
                    for (const TableCell& cell : table.cells) {
                        if (cell.covered) continue;
                        const ComposedCell* set = composed->FindCell(cell.text);
                        ASSERT_NE(set, nullptr);
                        int32 characters = 0;
                        for (const ComposedLine& line : set->lines) characters += line.length;
                        const TextRange thread = story->textModel.FindThread(cell.text);
                        if (TableWidthOf(table, cell) > 12) {
                            EXPECT_EQ(characters, thread.length) << "table " << ids[t];
                        }
                    }
                }
                ++tablesChecked;
            }
        }
        importer = InterfacePtr<IMifLayoutImporter>();
        DocumentList::Close(db);
    }
    // article-tables, article-long and the FrameMaker files anchor tables in their body flows.
    EXPECT_GE(tablesChecked, 6);
    EXPECT_GT(cellsChecked, 50);
}
