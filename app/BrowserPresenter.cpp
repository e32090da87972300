#include "BrowserPresenter.h"

#include "Dialog.h"

namespace {
const char* KindName(WidgetKind kind)
{
    switch (kind) {
    case WidgetKind::kStaticText: return "static";
    case WidgetKind::kButton: return "button";
    case WidgetKind::kTextField: return "text";
    case WidgetKind::kDropDown: return "dropdown";
    case WidgetKind::kRadioGroup: return "radio";
    case WidgetKind::kListBox: return "list";
    case WidgetKind::kComboBox: return "combo";
    case WidgetKind::kPanelSwitch: return "panels";
    }
    return "static";
}

const char* AlertName(AlertKind kind)
{
    switch (kind) {
    case AlertKind::kInformation: return "information";
    case AlertKind::kWarning: return "warning";
    case AlertKind::kError: return "error";
    case AlertKind::kQuestion: return "question";
    }
    return "information";
}

const char* ModeName(FileDialogRequest::Mode mode)
{
    switch (mode) {
    case FileDialogRequest::Mode::kOpenOne: return "open";
    case FileDialogRequest::Mode::kOpenSeveral: return "openSeveral";
    case FileDialogRequest::Mode::kSave: return "save";
    case FileDialogRequest::Mode::kSelectFolder: return "folder";
    }
    return "open";
}

JsonValue Strings(const std::vector<PMString>& texts)
{
    JsonValue array = JsonValue::Array();
    for (const PMString& text : texts) array.Append(JsonValue::String(text));
    return array;
}
} // namespace

BrowserPresenter::BrowserPresenter(UiEventLoop& loop, UiState& state) : mLoop(loop), mState(state)
{
    mState.Set("dialogs", "[]");
    mState.Set("alert", "null");
    mState.Set("chooser", "null");
}

JsonValue BrowserPresenter::DescribeWidget(const Dialog& dialog, const DialogWidget& widget)
{
    JsonValue w = JsonValue::Object();
    w.Set("id", JsonValue::Integer(widget.id));
    w.Set("kind", JsonValue::String(KindName(widget.kind)));
    w.Set("label", JsonValue::String(widget.label));
    w.Set("tip", JsonValue::String(widget.tip));
    w.Set("panel", JsonValue::Integer(widget.panel));
    w.Set("shown", JsonValue::Bool(widget.panel == 0 || widget.panel == dialog.GetShownPanel()));
    w.Set("enabled", JsonValue::Bool(widget.enabled));
    JsonValue items = JsonValue::Array();
    for (const DialogItem& item : widget.items) {
        JsonValue entry = JsonValue::Object();
        entry.Set("text", JsonValue::String(item.text));
        entry.Set("separator", JsonValue::Bool(item.separator));
        items.Append(std::move(entry));
    }
    w.Set("items", std::move(items));
    w.Set("columns", Strings(widget.columns));
    JsonValue rows = JsonValue::Array();
    for (const std::vector<PMString>& row : widget.rows) rows.Append(Strings(row));
    w.Set("rows", std::move(rows));
    w.Set("selected", JsonValue::Integer(widget.selected));
    w.Set("text", JsonValue::String(widget.text));
    return w;
}

void BrowserPresenter::Publish()
{
    JsonValue dialogs = JsonValue::Array();
    for (const Shown& shown : mDialogs) {
        // A dialog confirmed or cancelled is gone for the user, though its modal loop has yet
        // to return.
        if (!shown.dialog->IsOpen()) continue;
        JsonValue d = JsonValue::Object();
        d.Set("id", JsonValue::Integer(shown.id));
        d.Set("title", JsonValue::String(shown.dialog->GetTitle()));
        d.Set("focus", JsonValue::Integer(shown.dialog->GetFocus()));
        JsonValue widgets = JsonValue::Array();
        for (const DialogWidget& widget : shown.dialog->GetWidgets()) widgets.Append(DescribeWidget(*shown.dialog, widget));
        d.Set("widgets", std::move(widgets));
        dialogs.Append(std::move(d));
    }
    mState.Set("dialogs", dialogs.Serialize());
}

void BrowserPresenter::RunModal(Dialog& dialog)
{
    mDialogs.push_back(Shown{&dialog, mNextID++});
    Publish();
    // Widgets change while the dialog is open (a controller fills a list after a nested dialog),
    // so the dialogs are published again after each task the loop runs.
    mLoop.RunUntil([&] {
        Publish();
        return !dialog.IsOpen();
    });
    // The loop stopped (the server ends): the dialog is cancelled by Dialog::Open.
    mDialogs.pop_back();
    Publish();
}

int32 BrowserPresenter::ModalAlert(AlertKind kind, const PMString& text, const std::vector<PMString>& buttons,
                                   int32 defaultButton)
{
    mAlert = Alert{mNextID++, defaultButton, false};
    JsonValue alert = JsonValue::Object();
    alert.Set("id", JsonValue::Integer(mAlert->id));
    alert.Set("kind", JsonValue::String(AlertName(kind)));
    alert.Set("text", JsonValue::String(text));
    std::vector<PMString> shownButtons = buttons;
    if (shownButtons.empty()) shownButtons.push_back(PMString("OK"));
    alert.Set("buttons", Strings(shownButtons));
    alert.Set("default", JsonValue::Integer(defaultButton));
    mState.Set("alert", alert.Serialize());
    mLoop.RunUntil([&] { return mAlert->answered; });
    int32 answer = mAlert->answer;
    if (answer < 0 || answer >= static_cast<int32>(shownButtons.size())) answer = defaultButton;
    mAlert.reset();
    mState.Set("alert", "null");
    return answer;
}

std::vector<IDFile> BrowserPresenter::ChooseFiles(const FileDialogRequest& request)
{
    mChooser = Chooser{mNextID++, request, {}, false};
    JsonValue chooser = JsonValue::Object();
    chooser.Set("id", JsonValue::Integer(mChooser->id));
    chooser.Set("mode", JsonValue::String(ModeName(request.mode)));
    chooser.Set("title", JsonValue::String(request.title));
    chooser.Set("filter", JsonValue::String(request.filterName));
    chooser.Set("extension", JsonValue::String(request.extension));
    mState.Set("chooser", chooser.Serialize());
    mLoop.RunUntil([&] { return mChooser->answered; });
    std::vector<IDFile> files = std::move(mChooser->files);
    mChooser.reset();
    mState.Set("chooser", "null");
    return files;
}

bool BrowserPresenter::ApplyDialogEvent(const DialogEvent& event)
{
    if (mDialogs.empty() || IsBlocked() || mDialogs.back().id != event.dialog) return false;
    Dialog& dialog = *mDialogs.back().dialog;
    bool done = false;
    if (event.event == "click") done = dialog.Click(event.widget);
    else if (event.event == "choose") done = dialog.Choose(event.widget, event.index);
    else if (event.event == "type") done = dialog.Type(event.widget, event.text);
    else if (event.event == "doubleclick") done = dialog.DoubleClick(event.widget, event.index);
    else if (event.event == "confirm") done = dialog.Confirm();
    else if (event.event == "cancel") done = dialog.IsOpen() && (dialog.Cancel(), true);
    return done;
}

bool BrowserPresenter::AnswerAlert(int64_t alert, int32 button)
{
    if (!mAlert || mAlert->id != alert || mAlert->answered) return false;
    mAlert->answer = button;
    mAlert->answered = true;
    return true;
}

std::optional<FileDialogRequest> BrowserPresenter::GetChooser(int64_t chooser) const
{
    if (!mChooser || mChooser->id != chooser || mChooser->answered) return std::nullopt;
    return mChooser->request;
}

bool BrowserPresenter::AnswerChooser(int64_t chooser, std::vector<IDFile> files)
{
    if (!GetChooser(chooser)) return false;
    mChooser->files = std::move(files);
    mChooser->answered = true;
    return true;
}
