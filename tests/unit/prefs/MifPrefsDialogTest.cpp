// The preferences dialogs, driven as a user drives them through the scripted presenter: the menu
// entry, the texts the user reads, the preset buttons and their checks, the two tables and their
// entry dialogs, the preset and CSV files, and what confirming and cancelling leave stored.
#include <gtest/gtest.h>

#include <fstream>

#include "CmdUtils.h"
#include "CommandMgr.h"
#include "DialogMgr.h"
#include "MenuMgr.h"
#include "ScriptedPresenter.h"
#include "TestUtils.h"

#include "prefs/IMifPrefs.h"
#include "prefs/MifPrefsDialogIDs.h"

namespace {

InterfacePtr<IMifPrefs> SessionPrefs() { return InterfacePtr<IMifPrefs>(GetSessionWorkspace(), IID_IMIFPREFS); }

std::vector<std::string> StoredNames()
{
    std::vector<std::string> names;
    for (const MifPresetRecord& preset : SessionPrefs()->GetPresets()) names.push_back(preset.GetName().GetUTF8String());
    return names;
}

std::vector<std::string> Items(const Dialog& dialog, WidgetID widget)
{
    std::vector<std::string> items;
    for (const DialogItem& item : dialog.FindWidget(widget)->items)
        items.push_back(item.separator ? "-" : item.text.GetUTF8String());
    return items;
}

std::vector<std::string> Rows(const Dialog& dialog, WidgetID widget)
{
    std::vector<std::string> rows;
    for (const auto& row : dialog.FindWidget(widget)->rows)
        rows.push_back(row.at(0).GetUTF8String() + " | " + row.at(1).GetUTF8String());
    return rows;
}

std::string Tip(const Dialog& dialog, WidgetID widget) { return dialog.FindWidget(widget)->tip.GetUTF8String(); }

// A session with the scripted presenter installed.
struct PrefsDialogTest : ::testing::Test {
    // Opens the preferences dialog through its menu entry.
    void OpenPrefs() { ASSERT_TRUE(MenuMgr::Get().DoAction(kMifPrefsActionID)); }
    // Queues the preset-name dialog: types `name` and confirms; `accepted` tells whether it closed.
    void NameDialog(const char* name, bool* accepted = nullptr)
    {
        presenter.AddDialog([=](Dialog& d) {
            d.Type(kMifPresetNameWidgetID, name);
            bool ok = d.Confirm();
            if (accepted) *accepted = ok;
        });
    }
    std::vector<std::string> AlertTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& alert : presenter.GetAlerts()) texts.push_back(alert.text.GetUTF8String());
        return texts;
    }

    FreshSession session;
    ScriptedPresenter presenter;
    DialogPresenterScope scope{&presenter};
};

} // namespace

TEST_F(PrefsDialogTest, MenuEntryOpensTheDialogWithItsTexts)
{
    std::vector<std::string> entries;
    for (const MenuEntry& e : MenuMgr::Get().GetEntries())
        if (e.menuPath == PMString("Main:&Edit:Preferences"))
            entries.push_back((e.separator ? std::string("-") : e.name.GetUTF8String()) + " " +
                              std::to_string(e.position).substr(0, 6) + " " + std::to_string(e.action));
    EXPECT_EQ(entries, (std::vector<std::string>{"- 5000.0 0", "Tessel... 5000.1 " + std::to_string(0xB401F)}));
    EXPECT_TRUE(MenuMgr::Get().IsEnabled(kMifPrefsActionID));

    presenter.AddDialog([](Dialog& d) {
        EXPECT_EQ(d.GetTitle().GetUTF8String(), "Tessel");
        EXPECT_EQ(d.FindWidget(kMifPresetDropDownWidgetID)->label.GetUTF8String(), "Current preset:");
        EXPECT_EQ(Items(d, kMifPresetDropDownWidgetID), (std::vector<std::string>{"[Common]"}));
        EXPECT_EQ(Tip(d, kMifNewPresetButtonWidgetID), "Create new preset");
        EXPECT_EQ(Tip(d, kMifRenamePresetButtonWidgetID), "Rename the preset");
        EXPECT_EQ(Tip(d, kMifDeletePresetButtonWidgetID), "Delete the preset");
        EXPECT_EQ(Tip(d, kMifLoadPresetsButtonWidgetID), "Load presets from the file");
        EXPECT_EQ(Tip(d, kMifSavePresetsButtonWidgetID), "Save presets to the file");
        EXPECT_EQ(Items(d, kMifPanelDropDownWidgetID),
                  (std::vector<std::string>{"Conversion Preferences", "Font Substitution Table", "Font Encoding Table"}));
        const DialogWidget* leading = d.FindWidget(kMifLeadingGroupWidgetID);
        EXPECT_EQ(leading->label.GetUTF8String(), " Leading Value");
        EXPECT_EQ(Items(d, kMifLeadingGroupWidgetID),
                  (std::vector<std::string>{"Convert to &Auto Leading When Possible (Reusability)",
                                            "Use Always &Fixed Leading (Fidelity)"}));
        EXPECT_EQ(leading->selected, 1) << "a fresh preset: fixed leading";
        EXPECT_EQ(Items(d, kMifCrossRefsGroupWidgetID)[1], "Use &Cross-References (Requires Orvane Plug-In)");
        EXPECT_EQ(d.GetSelected(kMifCrossRefsGroupWidgetID), 0) << "without the cross-reference plug-in";
        EXPECT_EQ(d.GetSelected(kMifConditionsGroupWidgetID), 0) << "conditional text always opens on its first choice";
        EXPECT_EQ(Tip(d, kMifDeleteFontSubstButtonWidgetID), "Delte selected substitution entry");
        EXPECT_EQ(Tip(d, kMifDeleteFontEncButtonWidgetID), "Delte selected encoding entry");
        EXPECT_EQ(Tip(d, kMifImportFontEncButtonWidgetID), "Import font encodings from the CSV file");
        EXPECT_EQ(d.FindWidget(kMifFontEncListWidgetID)->columns.at(1).GetUTF8String(), "&Encoding");
        EXPECT_FALSE(d.Click(kMifAddFontSubstButtonWidgetID)) << "on a hidden panel";
        d.Choose(kMifPanelDropDownWidgetID, kMifFontEncPanel - 1);
        d.Click(kMifAddFontEncButtonWidgetID);
    });
    presenter.AddDialog([](Dialog& enc) {
        EXPECT_EQ(enc.GetTitle().GetUTF8String(), "New Font Encoding");
        EXPECT_EQ(Items(enc, kMifEncodingWidgetID),
                  (std::vector<std::string>{"Roman (ANSI)", "East Europe (Win)", "Russian (Win)", "Hebrew (Win)",
                                            "Arabic (Win)", "Greek (Win)", "Turkish (Win)", "Baltic (Win)", "Thai (Win)",
                                            "East Europe (Mac)", "Cyrillic (Mac)", "Hebrew (Mac)", "Arabic (Mac)",
                                            "Greek (Mac)"}));
        EXPECT_FALSE(enc.Confirm());
        enc.ChooseText(kMifEncodingWidgetID, "East Europe (Win)");
        enc.Type(kMifFrameFamilyWidgetID, "Arial CE");
        EXPECT_TRUE(enc.Confirm());
    });
    OpenPrefs();
    EXPECT_EQ(AlertTexts(), (std::vector<std::string>{"Please enter FrameMaker font family."}));
    EXPECT_EQ(SessionPrefs()->GetPreset(0).GetEncodingCount(), 0) << "cancelled: nothing stored";
}

TEST_F(PrefsDialogTest, PresetButtonsCheckNamesAndOnlyConfirmingStores)
{
    bool reservedAccepted = true, usedAccepted = true, ownNameAccepted = false;
    presenter.AddDialog([&](Dialog& d) {
        d.Click(kMifDeletePresetButtonWidgetID);  // "[Common]" is current: nothing happens
        d.Click(kMifNewPresetButtonWidgetID);
        d.Click(kMifNewPresetButtonWidgetID);
        d.Click(kMifNewPresetButtonWidgetID);
        d.Click(kMifNewPresetButtonWidgetID);
        EXPECT_EQ(Items(d, kMifPresetDropDownWidgetID), (std::vector<std::string>{"[Common]", "-", "Book", "Manual"}));
        EXPECT_EQ(d.GetSelected(kMifPresetDropDownWidgetID), 3) << "the new preset is current";
        d.Choose(kMifPresetDropDownWidgetID, 2);
        d.Click(kMifRenamePresetButtonWidgetID);
        EXPECT_EQ(Items(d, kMifPresetDropDownWidgetID)[2], "BOOK");
        d.Choose(kMifPresetDropDownWidgetID, 3);
        d.Click(kMifDeletePresetButtonWidgetID);  // answered "No"
        d.Click(kMifDeletePresetButtonWidgetID);  // answered "Yes"
        EXPECT_EQ(Items(d, kMifPresetDropDownWidgetID), (std::vector<std::string>{"[Common]", "-", "BOOK"}));
        EXPECT_EQ(d.GetSelected(kMifPresetDropDownWidgetID), 2) << "the one before the last became current";
        d.Confirm();
    });
    NameDialog("[COMMON]", &reservedAccepted);
    NameDialog("Book");
    NameDialog("book", &usedAccepted);
    NameDialog("Manual");
    presenter.AddDialog([&](Dialog& d) {
        EXPECT_EQ(d.GetTitle().GetUTF8String(), "Rename Preset");
        EXPECT_EQ(d.GetText(kMifPresetNameWidgetID).GetUTF8String(), "Book");
        d.Type(kMifPresetNameWidgetID, "BOOK");
        ownNameAccepted = d.Confirm();
    });
    presenter.AddAlertAnswer(1);
    presenter.AddAlertAnswer(0);
    OpenPrefs();

    EXPECT_FALSE(reservedAccepted);
    EXPECT_FALSE(usedAccepted);
    EXPECT_TRUE(ownNameAccepted);
    EXPECT_EQ(AlertTexts(), (std::vector<std::string>{"This preset name is reserved, please use another name.",
                                                      "This preset name is already used, please use another name.",
                                                      "Do you want to delete preset 'Manual'?",
                                                      "Do you want to delete preset 'Manual'?"}));
    EXPECT_EQ(presenter.GetAlerts()[2].buttons, (std::vector<PMString>{PMString("Yes"), PMString("No")}));
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"[Common]", "BOOK"}));
    EXPECT_EQ(SessionPrefs()->GetCurrentPreset(), 1);
    EXPECT_EQ(GetSessionCommandMgr().GetUndoName().GetUTF8String(), "Tessel Preferences");

    // Cancelling drops every change.
    presenter.AddDialog([](Dialog& d) {
        d.Click(kMifNewPresetButtonWidgetID);
        d.Choose(kMifLeadingGroupWidgetID, 0);
        d.Cancel();
    });
    NameDialog("Dropped");
    OpenPrefs();
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"[Common]", "BOOK"}));
    EXPECT_EQ(SessionPrefs()->GetPreset(1).GetLeading(), 2);
}

TEST_F(PrefsDialogTest, ModesAreStoredPerPresetAndUntouchedGroupsKeepWhatIsStored)
{
    // A preset stored with "use cross-references", which reads as 1 without the plug-in.
    std::vector<MifPresetRecord> presets(2);
    presets[1].SetName("Book");
    presets[1].SetCrossReferences(2);
    SessionPrefs()->SetPresets(presets);
    presenter.AddDialog([](Dialog& d) {
        d.ChooseText(kMifPresetDropDownWidgetID, "Book");
        d.Choose(kMifLeadingGroupWidgetID, 0);
        d.Choose(kMifPresetDropDownWidgetID, 0);  // switching presets keeps Book's change
        EXPECT_EQ(d.GetSelected(kMifLeadingGroupWidgetID), 1);
        d.Choose(kMifComposerGroupWidgetID, 0);
        d.Confirm();
    });
    OpenPrefs();
    MifPresetRecord common = SessionPrefs()->GetPreset(0), book = SessionPrefs()->GetPreset(1);
    EXPECT_EQ(book.GetLeading(), 1);
    EXPECT_EQ(book.GetComposer(), 2);
    EXPECT_EQ(book.GetStoredCrossReferences(), 2);
    EXPECT_EQ(common.GetComposer(), 1);
    EXPECT_EQ(common.GetLeading(), 2);
    EXPECT_EQ(SessionPrefs()->GetCurrentPreset(), 0);
}

TEST_F(PrefsDialogTest, SubstitutionEntriesAreCheckedListedEditedAndDeleted)
{
    presenter.AddDialog([](Dialog& d) {
        d.Choose(kMifPanelDropDownWidgetID, kMifFontSubstPanel - 1);
        d.Click(kMifAddFontSubstButtonWidgetID);
        d.Click(kMifAddFontSubstButtonWidgetID);
        EXPECT_EQ(Rows(d, kMifFontSubstListWidgetID),
                  (std::vector<std::string>{"Times (A: (any), W: (any), V: (any)) | Nimbus Roman (Don't change font style)",
                                            "Times (A: Italic, W: Bold, V: (any)) | Nimbus Roman (Bold Italic)"}));
        d.DoubleClick(kMifFontSubstListWidgetID, 1);
        EXPECT_EQ(Rows(d, kMifFontSubstListWidgetID)[1], "Times (A: Italic, W: Bold, V: (any)) | Nimbus Sans (Bold)");
        d.Choose(kMifFontSubstListWidgetID, 0);
        d.Click(kMifDeleteFontSubstButtonWidgetID);
        EXPECT_EQ(Rows(d, kMifFontSubstListWidgetID).size(), 1u);
        d.Confirm();
    });
    presenter.AddDialog([](Dialog& s) {
        EXPECT_EQ(s.GetTitle().GetUTF8String(), "New Font Substitution");
        EXPECT_FALSE(s.Confirm());
        s.Type(kMifFrameFamilyWidgetID, "Times");
        EXPECT_FALSE(s.Confirm());
        EXPECT_EQ(s.GetFocus(), kMifDesignFamilyWidgetID);
        EXPECT_TRUE(s.ChooseText(kMifDesignFamilyWidgetID, "Nimbus Roman"));
        EXPECT_EQ(Items(s, kMifDesignStyleWidgetID).at(0), "Don't change font style");
        EXPECT_TRUE(s.Confirm());
    });
    presenter.AddDialog([](Dialog& s) {
        s.Type(kMifFrameFamilyWidgetID, "Times");
        s.Type(kMifFrameAngleWidgetID, "Italic");
        s.Type(kMifFrameWeightWidgetID, "Bold");
        s.ChooseText(kMifDesignFamilyWidgetID, "Nimbus Roman");
        EXPECT_TRUE(s.ChooseText(kMifDesignStyleWidgetID, "Bold Italic"));
        s.Confirm();
    });
    presenter.AddDialog([](Dialog& s) {
        EXPECT_EQ(s.GetTitle().GetUTF8String(), "Edit Font Substitution");
        EXPECT_EQ(s.GetText(kMifFrameAngleWidgetID).GetUTF8String(), "Italic");
        EXPECT_EQ(Items(s, kMifDesignStyleWidgetID)[s.GetSelected(kMifDesignStyleWidgetID)], "Bold Italic");
        s.ChooseText(kMifDesignFamilyWidgetID, "Nimbus Sans");
        s.ChooseText(kMifDesignStyleWidgetID, "Bold");
        s.Confirm();
    });
    OpenPrefs();
    EXPECT_EQ(AlertTexts(),
              (std::vector<std::string>{"Please enter FrameMaker font family.", "Please enter InDesign font family."}));
    MifPresetRecord common = SessionPrefs()->GetPreset(0);
    ASSERT_EQ(common.GetSubstitutionCount(), 1);
    EXPECT_EQ(common.GetSubstitutionKey(0).GetWeight().GetUTF8String(), "Bold");
    EXPECT_EQ(common.GetSubstitutionFont(0).GetFamily().GetUTF8String(), "Nimbus Sans");
    EXPECT_EQ(common.GetSubstitutionFont(0).GetStyle().GetUTF8String(), "Bold");
}

TEST_F(PrefsDialogTest, FilesThroughTheDialogs)
{
    TempFolder folder("prefs-dialog-files");
    IDFile presetsFile(folder.Path() / "all.tqp"), substFile(folder.Path() / "subst.csv");
    IDFile missing(folder.Path() / "missing.tqp"), notPresets(folder.Path() / "subst-as-presets.tqp");
    IDFile maker(std::filesystem::path(TESSEL_TEST_DATA_DIR) / "maker-binary.mif");
    IDFile mif(std::filesystem::path(TESSEL_TEST_DATA_DIR) / "unknown-family.mif");

    std::vector<MifPresetRecord> presets(2);
    presets[1].SetName("Book");
    presets[1].AddSubstitution(MifFontKey("Times", "", "Bold", ""), MifIDFont("Minion Pro", "Bold"));
    SessionPrefs()->SetPresets(presets);
    SessionPrefs()->SetCurrentPreset(1);

    presenter.AddDialog([](Dialog& d) {
        d.Click(kMifSavePresetsButtonWidgetID);
        d.Choose(kMifPanelDropDownWidgetID, kMifFontSubstPanel - 1);
        d.Click(kMifExportFontSubstButtonWidgetID);
        d.Cancel();
    });
    presenter.AddFiles({presetsFile});
    presenter.AddFiles({substFile});
    OpenPrefs();
    EXPECT_EQ(ReadFile(substFile.GetPath().string()), "Times,,Bold,,Minion Pro,Bold");
    ASSERT_GE(presenter.GetFileDialogs().size(), 2u);
    EXPECT_EQ(presenter.GetFileDialogs()[0].title.GetUTF8String(), "Export Tessel Presets");
    EXPECT_EQ(presenter.GetFileDialogs()[0].filterName.GetUTF8String(), "Tessel Presets");
    EXPECT_EQ(presenter.GetFileDialogs()[1].title.GetUTF8String(), "Export Font Substitutions");
    EXPECT_EQ(presenter.GetFileDialogs()[1].filterName.GetUTF8String(), "CSV Files");

    // Another installation: importing the preset file replaces every preset, "[Common]" too.
    std::filesystem::copy_file(substFile.GetPath(), notPresets.GetPath());
    SessionPrefs()->SetPresets({MifPresetRecord(), MifPresetRecord()});
    presenter.AddDialog([](Dialog& d) {
        d.Click(kMifLoadPresetsButtonWidgetID);
        d.Click(kMifLoadPresetsButtonWidgetID);
        d.Click(kMifLoadPresetsButtonWidgetID);
        d.Choose(kMifPanelDropDownWidgetID, kMifFontSubstPanel - 1);
        d.Choose(kMifPresetDropDownWidgetID, 0);
        d.Click(kMifImportFontSubstButtonWidgetID);
        d.Confirm();
    });
    presenter.AddFiles({missing});
    presenter.AddFiles({notPresets});
    presenter.AddFiles({presetsFile});
    presenter.AddFiles({substFile});
    OpenPrefs();
    EXPECT_EQ(AlertTexts(), (std::vector<std::string>{"Can't open file '" + missing.GetPath().string() + "'.",
                                                      "This file is not Tessel preset file."}));
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"[Common]", "Book"}));
    EXPECT_EQ(SessionPrefs()->GetCurrentPreset(), 0);
    EXPECT_EQ(SessionPrefs()->GetPreset(1).GetSubstitutionCount(), 1);
    ASSERT_EQ(SessionPrefs()->GetPreset(0).GetSubstitutionCount(), 1) << "the CSV file went into [Common]";
    EXPECT_EQ(SessionPrefs()->GetPreset(0).GetSubstitutionFont(0).GetFamily().GetUTF8String(), "Minion Pro");

    // Font hints: a FrameMaker binary file is reported and the other file is scanned.
    presenter.AddDialog([](Dialog& d) {
        d.Choose(kMifPanelDropDownWidgetID, kMifFontSubstPanel - 1);
        d.Click(kMifAddFontSubstButtonWidgetID);
    });
    presenter.AddDialog([](Dialog& s) {
        s.Click(kMifLoadFontDataButtonWidgetID);
        EXPECT_FALSE(s.FindWidget(kMifFrameFamilyWidgetID)->items.empty());
        s.Click(kMifClearFontDataButtonWidgetID);
        EXPECT_TRUE(s.FindWidget(kMifFrameFamilyWidgetID)->items.empty());
    });
    presenter.AddFiles({maker, mif});
    size_t before = presenter.GetAlerts().size();
    OpenPrefs();
    ASSERT_EQ(presenter.GetAlerts().size(), before + 1);
    EXPECT_EQ(presenter.GetAlerts().back().text.GetUTF8String(),
              "File '" + maker.GetPath().string() + "' is not a MIF file.");
    EXPECT_EQ(presenter.GetFileDialogs().back().title.GetUTF8String(), "Import Font Hints From MIF");
    EXPECT_EQ(presenter.GetFileDialogs().back().mode, FileDialogRequest::Mode::kOpenSeveral);
}
