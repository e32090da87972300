// Every paragraph of every text flow of the corpus arrives in the story that the flow's text
// columns became, in order, decoded, and in the package's story; footnote text arrives in the
// footnotes of that story.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IImportProvider.h"
#include "IMifLayoutImporter.h"
#include "IMifTextConverter.h"
#include "IdmlIds.h"
#include "IdmlPackage.h"
#include "IdmlWriter.h"
#include "Story.h"
#include "TestUtils.h"

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
        InterfacePtr<IMifLayoutImporter> importer(static_cast<IMifLayoutImporter*>(db->QueryDocInterface(IID_IMIFLAYOUTIMPORTER)));
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
            std::u16string primary = model.GetText(0, model.GetThreadRange(0).length);
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
        // Each Para is one paragraph of its story: none merged, split or lost.
        for (const auto& [story, paragraphs] : paragraphsOf) {
            int32 made = 0;
            story->textModel.ForEachParagraph(0, story->textModel.GetThreadRange(0).length, [&](int32, int32, const TextFormat&) { ++made; });
            EXPECT_EQ(made, paragraphs) << "story " << story->GetUID();
        }
        importer = InterfacePtr<IMifLayoutImporter>();
        DocumentList::Close(db);
    }
    EXPECT_GT(checked, 1000);
}
