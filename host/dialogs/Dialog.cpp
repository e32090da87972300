#include "Dialog.h"

#include <algorithm>

#include "DialogMgr.h"
#include "ObjectModel.h"

Dialog::~Dialog()
{
    // A dialog dropped while open (a presenter that failed) leaves the open list.
    auto& open = DialogMgr::Get().mOpen;
    open.erase(std::remove(open.begin(), open.end(), this), open.end());
}

void Dialog::SetTitle(const PMString& title)
{
    mTitle = title;
    mTitle.Translate();
}

DialogWidget& Dialog::AddWidget(DialogWidget widget)
{
    widget.label.Translate();
    widget.tip.Translate();
    for (DialogItem& item : widget.items) item.text.Translate();
    for (PMString& column : widget.columns) column.Translate();
    mWidgets.push_back(std::move(widget));
    return mWidgets.back();
}

void Dialog::SetController(std::unique_ptr<CDialogController> controller)
{
    mController = std::move(controller);
    if (mController) mController->SetDialog(this);
}

void Dialog::SetObserver(std::unique_ptr<CDialogObserver> observer)
{
    mObserver = std::move(observer);
    if (mObserver) mObserver->SetDialog(this);
}

void Dialog::AddEventHandler(WidgetID widget, std::unique_ptr<CEventHandler> handler)
{
    handler->Attach(this, widget);
    mEventHandlers.emplace_back(widget, std::move(handler));
}

void Dialog::SetDataObject(ClassID classID)
{
    Boss* boss = ObjectModel::Get().CreateBoss(classID);
    if (!boss) {
        mData = InterfacePtr<IPMUnknown>();
        return;
    }
    // Hold the object through its first interface.
    std::vector<std::pair<PMIID, ImplementationID>> interfaces = ObjectModel::Get().GetInterfaces(classID);
    IPMUnknown* first = interfaces.empty() ? nullptr : boss->Find(interfaces.front().first);
    if (!first) {
        delete boss;
        return;
    }
    boss->AddRef();
    mData = InterfacePtr<IPMUnknown>(first);
}

const DialogWidget* Dialog::FindWidget(WidgetID widget) const
{
    for (const DialogWidget& w : mWidgets)
        if (w.id == widget) return &w;
    return nullptr;
}

DialogWidget* Dialog::Find(WidgetID widget) { return const_cast<DialogWidget*>(FindWidget(widget)); }

int32 Dialog::GetShownPanel() const
{
    for (const DialogWidget& w : mWidgets)
        if (w.kind == WidgetKind::kPanelSwitch) return w.selected + 1;
    return 0;
}

bool Dialog::IsShown(WidgetID widget) const
{
    const DialogWidget* w = FindWidget(widget);
    return w && (w->panel == 0 || w->panel == GetShownPanel());
}

void Dialog::SetText(WidgetID widget, const PMString& text)
{
    if (DialogWidget* w = Find(widget)) w->text = text;
}

PMString Dialog::GetText(WidgetID widget) const
{
    const DialogWidget* w = FindWidget(widget);
    return w ? w->text : PMString();
}

void Dialog::SetItems(WidgetID widget, std::vector<DialogItem> items)
{
    DialogWidget* w = Find(widget);
    if (!w) return;
    w->items = std::move(items);
    if (w->selected >= static_cast<int32>(w->items.size())) w->selected = -1;
}

void Dialog::SetRows(WidgetID widget, std::vector<std::vector<PMString>> rows)
{
    DialogWidget* w = Find(widget);
    if (!w) return;
    w->rows = std::move(rows);
    if (w->selected >= static_cast<int32>(w->rows.size())) w->selected = -1;
}

void Dialog::SetSelected(WidgetID widget, int32 index)
{
    if (DialogWidget* w = Find(widget)) w->selected = index;
}

int32 Dialog::GetSelected(WidgetID widget) const
{
    const DialogWidget* w = FindWidget(widget);
    return w ? w->selected : -1;
}

void Dialog::SetEnabled(WidgetID widget, bool enabled)
{
    if (DialogWidget* w = Find(widget)) w->enabled = enabled;
}

DialogWidget* Dialog::FindForUser(WidgetID widget, WidgetKind kind)
{
    DialogWidget* w = Find(widget);
    if (!IsOpen() || !w || !w->enabled || !IsShown(widget)) return nullptr;
    if (w->kind != kind) {
        // A panel switch is chosen like a drop-down; a combo box is typed into like a text field.
        bool alike = (kind == WidgetKind::kDropDown && w->kind == WidgetKind::kPanelSwitch) ||
                     (kind == WidgetKind::kTextField && w->kind == WidgetKind::kComboBox) ||
                     (kind == WidgetKind::kDropDown && (w->kind == WidgetKind::kRadioGroup || w->kind == WidgetKind::kListBox));
        if (!alike) return nullptr;
    }
    return w;
}

void Dialog::Notify(DialogChange change, WidgetID widget)
{
    if (mObserver) mObserver->Update(change, widget);
}

bool Dialog::Click(WidgetID button)
{
    if (button == kOKButtonWidgetID) return Confirm();
    if (button == kCancelButtonWidgetID) {
        if (!IsOpen()) return false;
        Cancel();
        return true;
    }
    if (!FindForUser(button, WidgetKind::kButton)) return false;
    Notify(DialogChange::kClicked, button);
    return true;
}

bool Dialog::Choose(WidgetID widget, int32 index)
{
    DialogWidget* w = FindForUser(widget, WidgetKind::kDropDown);
    if (!w) return false;
    if (w->kind == WidgetKind::kListBox) {
        if (index < 0 || index >= static_cast<int32>(w->rows.size())) return false;
    } else {
        if (index < 0 || index >= static_cast<int32>(w->items.size()) || w->items[index].separator) return false;
    }
    w->selected = index;
    Notify(DialogChange::kChosen, widget);
    return true;
}

bool Dialog::ChooseText(WidgetID widget, const PMString& text)
{
    const DialogWidget* w = FindWidget(widget);
    if (!w) return false;
    std::vector<PMString> texts;
    if (w->kind == WidgetKind::kListBox) {
        for (const auto& row : w->rows) texts.push_back(row.empty() ? PMString() : row[0]);
    } else {
        for (const DialogItem& item : w->items) texts.push_back(item.separator ? PMString() : item.text);
    }
    for (size_t i = 0; i < texts.size(); ++i)
        if (texts[i] == text) return Choose(widget, static_cast<int32>(i));
    for (size_t i = 0; i < texts.size(); ++i)
        if (!texts[i].IsEmpty() && texts[i].IsEqualNoCase(text)) return Choose(widget, static_cast<int32>(i));
    return false;
}

bool Dialog::Type(WidgetID widget, const PMString& text)
{
    DialogWidget* w = FindForUser(widget, WidgetKind::kTextField);
    if (!w) return false;
    w->text = text;
    Notify(DialogChange::kEdited, widget);
    return true;
}

bool Dialog::DoubleClick(WidgetID list, int32 row)
{
    DialogWidget* w = FindForUser(list, WidgetKind::kListBox);
    if (!w || row < 0 || row >= static_cast<int32>(w->rows.size())) return false;
    if (!Choose(list, row)) return false;
    for (auto& [widget, handler] : mEventHandlers)
        if (widget == list && handler->LButtonDblClk(row)) return true;
    return true;
}

bool Dialog::Confirm()
{
    if (!IsOpen()) return false;
    WidgetID wrong = mController ? mController->ValidateDialogFields() : kInvalidWidgetID;
    if (wrong != kInvalidWidgetID) {
        mFocus = wrong;
        return false;
    }
    if (mController) mController->ApplyDialogFields();
    mState = State::kConfirmed;
    return true;
}

void Dialog::Cancel()
{
    if (IsOpen()) mState = State::kCancelled;
}

bool Dialog::Open()
{
    if (IsOpen()) return false;
    DialogMgr& mgr = DialogMgr::Get();
    mParent = mgr.mOpen.empty() ? nullptr : mgr.mOpen.back();
    mState = State::kOpen;
    mFocus = kInvalidWidgetID;
    mgr.mOpen.push_back(this);
    if (mObserver) mObserver->AutoAttach();
    if (mController) mController->InitializeDialogFields();
    if (IDialogPresenter* presenter = mgr.GetPresenter()) presenter->RunModal(*this);
    Cancel();  // a presenter that returns with the dialog still open gave up on it
    if (mObserver) mObserver->AutoDetach();
    mgr.mOpen.erase(std::remove(mgr.mOpen.begin(), mgr.mOpen.end(), this), mgr.mOpen.end());
    return mState == State::kConfirmed;
}
