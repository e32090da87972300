// The host's dialogs as data: what a presenter may do to a dialog, the check on OK, nested
// dialogs, alerts routed to the presenter, and the menu model.
#include <gtest/gtest.h>

#include "CAlert.h"
#include "DialogMgr.h"
#include "MenuMgr.h"
#include "ScriptedPresenter.h"

namespace {

constexpr uint32 kTestDialog = 0x7001;
constexpr WidgetID kName = 10, kKind = 11, kGo = 12, kTable = 13, kPanels = 14, kPanelTwoButton = 15;

// Refuses an empty name with a warning; counts what it was asked.
class TestController : public CDialogController {
public:
    void InitializeDialogFields() override { SetTextControlData(kName, "first"); }
    WidgetID ValidateDialogFields() override
    {
        if (!GetTextControlData(kName).IsEmpty()) return kInvalidWidgetID;
        CAlert::WarningAlert("A name, please.");
        return kName;
    }
    void ApplyDialogFields() override { ++applied; }
    int applied = 0;
};

class TestObserver : public CDialogObserver {
public:
    void Update(DialogChange change, WidgetID widget) override { changes.emplace_back(change, widget); }
    std::vector<std::pair<DialogChange, WidgetID>> changes;
};

class ClickGoOnDoubleClick : public CEventHandler {
public:
    bool LButtonDblClk(int32) override { return GetDialog()->Click(kGo); }
};

void BuildTestDialog(Dialog& dialog)
{
    dialog.SetTitle("Test");
    dialog.AddWidget(DialogWidget::TextField(kName, "Name:"));
    DialogWidget kind = DialogWidget::DropDown(kKind, "Kind:");
    kind.items = {DialogItem{PMString("a")}, DialogItem{PMString("-"), true}, DialogItem{PMString("b")}};
    dialog.AddWidget(kind);
    dialog.AddWidget(DialogWidget::Button(kGo, "", "Go"));
    dialog.AddWidget(DialogWidget::PanelSwitch(kPanels, {"One", "Two"}));
    DialogWidget table = DialogWidget::ListBox(kTable, "Left", "Right", 1);
    table.rows = {{PMString("x"), PMString("1")}, {PMString("y"), PMString("2")}};
    dialog.AddWidget(table);
    dialog.AddWidget(DialogWidget::Button(kPanelTwoButton, "Two's", "", 2));
    dialog.SetController(std::make_unique<TestController>());
    dialog.SetObserver(std::make_unique<TestObserver>());
    dialog.AddEventHandler(kTable, std::make_unique<ClickGoOnDoubleClick>());
}

struct TestDialogScope {
    TestDialogScope() { DialogMgr::Get().RegisterDialog(kTestDialog, BuildTestDialog); }
    ~TestDialogScope() { DialogMgr::Get().UnregisterDialog(kTestDialog); }
};

} // namespace

TEST(Dialog, PresenterActsOnlyOnWhatTheUserCanReach)
{
    TestDialogScope registered;
    ScriptedPresenter presenter;
    DialogPresenterScope scope(&presenter);
    std::unique_ptr<Dialog> dialog = DialogMgr::Get().CreateNewDialog(kTestDialog);
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(dialog->Click(kGo)) << "a closed dialog takes no clicks";

    presenter.AddDialog([](Dialog& d) {
        EXPECT_EQ(d.GetText(kName).GetUTF8String(), "first") << "the controller filled it";
        EXPECT_FALSE(d.Choose(kKind, 1)) << "a separator cannot be chosen";
        EXPECT_FALSE(d.Choose(kKind, 3));
        EXPECT_TRUE(d.ChooseText(kKind, "b"));
        EXPECT_EQ(d.GetSelected(kKind), 2);
        EXPECT_FALSE(d.Click(kPanelTwoButton)) << "a widget of a hidden panel";
        EXPECT_FALSE(d.Type(kGo, "text")) << "a button takes no text";
        EXPECT_TRUE(d.DoubleClick(kTable, 1));
        EXPECT_EQ(d.GetSelected(kTable), 1);
        EXPECT_TRUE(d.Choose(kPanels, 1));
        EXPECT_FALSE(d.IsShown(kTable));
        EXPECT_TRUE(d.Click(kPanelTwoButton));
        d.SetEnabled(kGo, false);
        EXPECT_FALSE(d.Click(kGo));

        EXPECT_TRUE(d.Type(kName, ""));
        EXPECT_FALSE(d.Confirm()) << "the controller refuses an empty name";
        EXPECT_TRUE(d.IsOpen());
        EXPECT_EQ(d.GetFocus(), kName);
        EXPECT_TRUE(d.Type(kName, "second"));
        EXPECT_TRUE(d.Confirm());
    });
    EXPECT_TRUE(dialog->Open());
    EXPECT_EQ(static_cast<TestController*>(dialog->GetController())->applied, 1);
    auto& changes = static_cast<TestObserver*>(dialog->GetObserver())->changes;
    // The double click selected the row, then its handler clicked Go.
    std::vector<std::pair<DialogChange, WidgetID>> expected{
        {DialogChange::kChosen, kKind},  {DialogChange::kChosen, kTable},  {DialogChange::kClicked, kGo},
        {DialogChange::kChosen, kPanels}, {DialogChange::kClicked, kPanelTwoButton}, {DialogChange::kEdited, kName},
        {DialogChange::kEdited, kName}};
    EXPECT_EQ(changes, expected);
    ASSERT_EQ(presenter.GetAlerts().size(), 1u);
    EXPECT_EQ(presenter.GetAlerts()[0].kind, AlertKind::kWarning);
    EXPECT_EQ(presenter.GetAlerts()[0].text.GetUTF8String(), "A name, please.");
}

TEST(Dialog, UnscriptedAndAbandonedDialogsAreCancelled)
{
    TestDialogScope registered;
    std::unique_ptr<Dialog> dialog = DialogMgr::Get().CreateNewDialog(kTestDialog);
    EXPECT_FALSE(dialog->Open()) << "no presenter: cancelled";
    EXPECT_EQ(dialog->GetState(), Dialog::State::kCancelled);

    ScriptedPresenter presenter;
    DialogPresenterScope scope(&presenter);
    presenter.AddDialog([](Dialog& d) { d.Type(kName, "left open"); });
    EXPECT_FALSE(dialog->Open());
    EXPECT_EQ(static_cast<TestController*>(dialog->GetController())->applied, 0);
    EXPECT_FALSE(dialog->Open()) << "nothing queued";
    EXPECT_EQ(presenter.GetDialogTitles().size(), 2u);
    EXPECT_FALSE(DialogMgr::Get().CreateNewDialog(0x7002)) << "no such resource";
}

TEST(Dialog, NestedDialogKnowsItsParentAndAlertsAnswerFromTheScript)
{
    TestDialogScope registered;
    ScriptedPresenter presenter;
    DialogPresenterScope scope(&presenter);
    std::unique_ptr<Dialog> outer = DialogMgr::Get().CreateNewDialog(kTestDialog);
    Dialog* seenParent = nullptr;
    presenter.AddDialog([&](Dialog& d) {
        std::unique_ptr<Dialog> inner = DialogMgr::Get().CreateNewDialog(kTestDialog);
        inner->Open();
        d.Confirm();
    });
    presenter.AddDialog([&](Dialog& d) {
        seenParent = d.GetParent();
        EXPECT_EQ(DialogMgr::Get().GetOpenDialogs().size(), 2u);
        d.Cancel();
    });
    presenter.AddAlertAnswer(1);
    EXPECT_TRUE(outer->Open());
    EXPECT_EQ(seenParent, outer.get());
    EXPECT_TRUE(DialogMgr::Get().GetOpenDialogs().empty());
    EXPECT_EQ(CAlert::ModalAlert("Sure?", {PMString("Yes"), PMString("No")}, 0), 1);
    EXPECT_EQ(CAlert::ModalAlert("Again?", {PMString("Yes"), PMString("No")}, 0), 0) << "the default";
}

TEST(MenuMgr, EntriesInPositionOrderAndActionsRun)
{
    MenuMgr& menus = MenuMgr::Get();
    int ran = 0;
    menus.AddMenuItem("Main:Test", "Second", 20.5, 0x7101);
    menus.AddSeparator("Main:Test", 20.0);
    menus.AddSeparator("Main:Test", 20.0);
    menus.AddMenuItem("Main:Test", "First", 10, 0x7102);
    menus.AddMenuItem("Main:Test", "Second again", 20.5, 0x7101);
    menus.RegisterAction(0x7101, [&] { ++ran; });
    std::vector<std::string> shown;
    for (const MenuEntry& e : menus.GetEntries())
        if (e.menuPath == PMString("Main:Test")) shown.push_back(e.separator ? "-" : e.name.GetUTF8String());
    EXPECT_EQ(shown, (std::vector<std::string>{"First", "-", "Second again"}));
    EXPECT_TRUE(menus.DoAction(0x7101));
    EXPECT_FALSE(menus.DoAction(0x7102)) << "no action registered";
    EXPECT_EQ(ran, 1);
    menus.RemoveAction(0x7101);
    menus.RemoveAction(0x7102);
    EXPECT_FALSE(menus.DoAction(0x7101));
}
