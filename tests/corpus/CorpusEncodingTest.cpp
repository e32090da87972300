// The MIF 7 file of the corpus and its MIF 9 twin: characters that the old file writes as
// FrameRoman escapes (and Char statements) arrive as the same Unicode characters as the UTF-8
// of the new one. Raw String text is decoded the way the text import decodes it: by the font
// family in force for the old file, escapes only for the new one.
#include <gtest/gtest.h>

#include "TestUtils.h"

#include "mif/IMifTextConverter.h"
#include "mif/MifParser.h"

namespace {

struct Twin {
    explicit Twin(const char* name) : mif(ReadFile(std::string(TESSEL_CORPUS_DIR) + "/framemaker/" + name))
    {
        converter = InterfacePtr<IMifTextConverter>(mif.parser.get(), IID_IMIFTEXTCONVERTER);
        old = static_cast<MifParser*>(mif.parser.get())->GetVersion() < 8.0;
    }

    // The family of the paragraph format `tag` in the catalog; empty when none says.
    PMString CatalogFamily(const PMString& tag) const
    {
        const MifObject* catalog = mif.root->GetObject(kMifPgfCatalog);
        const MifObject* pgf = catalog ? catalog->FindObjectWithString(kMifPgfTag, tag, 1) : nullptr;
        const MifObject* font = pgf ? pgf->GetObject(kMifPgfFont) : nullptr;
        MifPropVal family;
        return font && font->GetPropVal(kMifFFamily, family) ? *family.rawString : PMString();
    }

    // The text of a paragraph: its String values decoded, its Char statements as characters.
    std::u16string ParaText(const MifObject& para) const
    {
        MifPropVal value;
        PMString family = para.GetPropVal(kMifPgfTag, value) ? CatalogFamily(*value.tagString) : PMString();
        std::u16string text;
        for (const MifProp* line : para.props) {
            if (line->id != kMifParaLine) continue;
            for (const MifProp* prop : line->value.object->props) {
                if (prop->id == kMifFont && prop->value.object->GetPropVal(kMifFFamily, value)) family = *value.rawString;
                if (prop->id == kMifChar) text += CharText(prop->value.keyword);
                if (prop->id != kMifString) continue;
                PMString string = *prop->value.rawString;
                if (old)
                    converter->ConvertFontString(string, family, mif.root.get());
                else
                    converter->DecodeEscapes(string);
                text += string.GetUTF16();
            }
        }
        return text;
    }

    static std::u16string CharText(int32 keyword)
    {
        if (keyword == kMifCent) return u"\u00a2";
        if (keyword == kMifEmDash) return u"\u2014";
        if (keyword == kMifEnDash) return u"\u2013";
        if (keyword == kMifHardSpace) return u"\u00a0";
        if (keyword == kMifTab) return u"\t";
        return u"";
    }

    // The texts of the paragraphs under `object` that hold characters beyond ASCII, in order.
    void CollectNonASCII(const MifObject& object, std::vector<std::u16string>& texts) const
    {
        for (const MifProp* prop : object.props) {
            if (prop->type != kMifTypeObject || !prop->value.object) continue;
            if (prop->id != kMifPara) {
                CollectNonASCII(*prop->value.object, texts);
                continue;
            }
            std::u16string text = ParaText(*prop->value.object);
            if (std::any_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x80; })) texts.push_back(text);
        }
    }

    // The paragraphs of the table that holds `marker` in one of its cells.
    std::vector<std::u16string> TableTexts(const char* marker) const
    {
        const MifObject* tbls = mif.root->GetObject(kMifTbls);
        for (const MifProp* tbl : tbls ? tbls->props : MifPropList::Empty()) {
            if (ReadAll(*tbl->value.object).find(PMString(marker).GetUTF16()) == std::u16string::npos) continue;
            std::vector<std::u16string> texts;
            CollectNonASCII(*tbl->value.object, texts);
            return texts;
        }
        return {};
    }

    std::u16string ReadAll(const MifObject& object) const
    {
        std::u16string all;
        for (const MifProp* prop : object.props) {
            if (prop->type == kMifTypeObject && prop->value.object) all += ReadAll(*prop->value.object);
            if (MifIsStringType(prop->type) && prop->value.rawString) all += prop->value.rawString->GetUTF16();
        }
        return all;
    }

    // The paragraphs of the body flow, the text flow tagged "A".
    std::vector<std::u16string> BodyFlow() const
    {
        std::vector<std::u16string> texts;
        for (const MifProp* flow : mif.root->props) {
            MifPropVal tag;
            if (flow->id != kMifTextFlow || !flow->value.object->GetPropVal(kMifTFTag, tag) || *tag.tagString != "A")
                continue;
            for (const MifProp* para : flow->value.object->props)
                if (para->id == kMifPara) texts.push_back(ParaText(*para->value.object));
        }
        return texts;
    }

    ParsedMif mif;
    InterfacePtr<IMifTextConverter> converter;
    bool old = false;
};

} // namespace

TEST(CorpusEncoding, Test01_V7EscapesArriveAsTheV9Characters)
{
    Twin v7("Test01-v7.mif"), v9("Test01.mif");
    ASSERT_TRUE(v7.mif.root && v9.mif.root);
    ASSERT_TRUE(v7.old && !v9.old);
    ASSERT_TRUE(v7.converter && v9.converter);

    // The character table on the reference pages: ¢ © ® ° — – … in both.
    std::vector<std::u16string> expected = {u"\u00a2", u"\u00a9", u"\u00ae", u"\u00b0", u"\u2014", u"\u2013", u"\u2026"};
    EXPECT_EQ(v7.TableTexts("&#169;"), expected);
    EXPECT_EQ(v9.TableTexts("&#169;"), expected);

    // Strings of kinds other than String are decoded as the old file is read.
    const MifObject* formats = v7.mif.root->GetObject(kMifXRefFormats);
    ASSERT_TRUE(formats);
    MifPropVal definition;
    ASSERT_TRUE(formats->GetObject(kMifXRefFormat)->GetPropVal(kMifXRefDef, definition));
    EXPECT_EQ(definition.rawString->GetUTF16(), u"\u201c<$paratext>\u201d on page\u00a0<$pagenum>");

    // The body flows hold different text; their escapes decode in both.
    std::vector<std::u16string> body7 = v7.BodyFlow(), body9 = v9.BodyFlow();
    EXPECT_NE(std::find(body7.begin(), body7.end(), u"Second paragraph with: <, >, \\, #, ~."), body7.end());
    EXPECT_NE(std::find(body9.begin(), body9.end(), u"tl=<, gt=>, dollar=$, btick=\u2018, apos=\u2019, bslash=\\, etc."),
              body9.end());
    EXPECT_NE(std::find(body9.begin(), body9.end(), u"\u00e0=agrave"), body9.end());
}
