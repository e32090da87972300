// Font mapping: the substitution tables with their wildcard order, the "[Common]" fallback, the
// installed fonts by PostScript name, and the style names made of the MIF values.
#include <gtest/gtest.h>

#include "FontManager.h"
#include "InterfacePtr.h"
#include "Session.h"

#include "prefs/IMifPrefs.h"
#include "prefs/MifFontConverter.h"

namespace {

MifFontKey Key(const char* family, const char* angle = "", const char* weight = "", const char* variation = "")
{
    return MifFontKey(family, angle, weight, variation);
}

// Installs `presets` (current: `current`) in the session's preferences for one test.
class PresetScope {
public:
    PresetScope(const std::vector<MifPresetRecord>& presets, int32 current) : mPrefs(GetSessionWorkspace(), IID_IMIFPREFS)
    {
        mSaved = mPrefs->GetPresets();
        mSavedCurrent = mPrefs->GetCurrentPreset();
        mPrefs->SetPresets(presets);
        mPrefs->SetCurrentPreset(current);
    }
    ~PresetScope()
    {
        mPrefs->SetPresets(mSaved);
        mPrefs->SetCurrentPreset(mSavedCurrent);
    }

private:
    InterfacePtr<IMifPrefs> mPrefs;
    std::vector<MifPresetRecord> mSaved;
    int32 mSavedCurrent = 0;
};

} // namespace

TEST(MifFontConverter, StyleNames_FromTheMifValues)
{
    MifFontConverter converter;
    EXPECT_EQ(converter.MakeStyleName("Italic", "Bold", ""), PMString("Bold Italic"));
    EXPECT_EQ(converter.MakeStyleName("Regular", "Regular", "Regular"), PMString("Regular"));
    EXPECT_EQ(converter.MakeStyleName("", "", "Narrow"), PMString("Narrow"));
    EXPECT_EQ(converter.MakeStyleName("Oblique", "", "Condensed"), PMString("Oblique Condensed"));
    EXPECT_EQ(converter.MakeStyleName("", "", ""), PMString("Regular"));

    MifIDFont font;
    ASSERT_TRUE(converter.Convert(Key("Times", "Italic", "Bold"), "", font));
    EXPECT_EQ(font.GetFamily(), PMString("Times"));
    EXPECT_EQ(font.GetStyle(), PMString("Bold Italic"));
    MifIDFont untouched("Keep", "Me");
    EXPECT_FALSE(converter.Convert(Key(""), "", untouched));
    EXPECT_EQ(untouched.GetFamily(), PMString("Keep"));
}

TEST(MifFontConverter, Substitutions_WildcardOrder)
{
    MifPresetRecord preset;
    preset.AddSubstitution(Key("Times"), MifIDFont("Minion Pro", "Regular"));
    preset.AddSubstitution(Key("Times", "Italic"), MifIDFont("Minion Pro", "Italic"));
    preset.AddSubstitution(Key("Times", "", "Bold", "Narrow"), MifIDFont("Minion Pro", "Bold Cond"));
    MifIDFont font;
    // Times/Italic/Bold: key 5 (angle only) comes before key 8 (family only).
    ASSERT_TRUE(MifFontConverter::FindSubstitution(preset, Key("Times", "Italic", "Bold"), font));
    EXPECT_EQ(font.GetStyle(), PMString("Italic"));
    ASSERT_TRUE(MifFontConverter::FindSubstitution(preset, Key("Times", "Italic", "Bold", "Narrow"), font));
    EXPECT_EQ(font.GetStyle(), PMString("Bold Cond"));  // key 4 (no angle) comes before key 5
    ASSERT_TRUE(MifFontConverter::FindSubstitution(preset, Key("Times", "Oblique"), font));
    EXPECT_EQ(font.GetStyle(), PMString("Regular"));
    ASSERT_TRUE(MifFontConverter::FindSubstitution(preset, Key("Times", "italic"), font));  // case does not matter
    EXPECT_EQ(font.GetStyle(), PMString("Italic"));
    EXPECT_FALSE(MifFontConverter::FindSubstitution(preset, Key("Helvetica"), font));
}

TEST(MifFontConverter, Convert_CommonPresetThenInstalledFonts)
{
    MifPresetRecord common;  // "[Common]"
    common.AddSubstitution(Key("Palatino"), MifIDFont("Palatino Linotype", ""));
    MifPresetRecord book;
    book.SetName("Book");
    book.AddSubstitution(Key("Optima"), MifIDFont("URW Classico", "Regular"));
    PresetScope scope({common, book}, 1);
    FontManager::Get().AddFont({"Test Serif", "Semibold", "TestSerif-Semibold"});

    MifFontConverter converter;
    MifIDFont font;
    ASSERT_TRUE(converter.Convert(Key("Optima"), "", font));
    EXPECT_EQ(font.GetFamily(), PMString("URW Classico"));
    ASSERT_TRUE(converter.Convert(Key("Palatino", "Italic"), "", font));  // only in "[Common]"
    EXPECT_EQ(font.GetFamily(), PMString("Palatino Linotype"));
    EXPECT_EQ(font.GetStyle(), PMString());  // keep the style the text has
    // The installed font of the PostScript name wins over the family the MIF names.
    ASSERT_TRUE(converter.Convert(Key("Frutiger", "", "Bold"), "TestSerif-Semibold", font));
    EXPECT_EQ(font.GetFamily(), PMString("Test Serif"));
    EXPECT_EQ(font.GetStyle(), PMString("Semibold"));
}
