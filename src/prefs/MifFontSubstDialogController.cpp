#include "prefs/MifFontSubstDialogController.h"

#include <algorithm>
#include <vector>

#include "CAlert.h"
#include "Dialog.h"
#include "FontManager.h"
#include "InterfacePtr.h"

#include "base/MifAssertLog.h"
#include "prefs/IMifSubstData.h"
#include "prefs/MifPrefsDialogIDs.h"

namespace {

// The families the font manager knows, sorted, with `keep` among them even when it is not
// installed here (an entry made for another machine's fonts stays as it is when edited).
std::vector<DialogItem> FamilyItems(const PMString& keep)
{
    std::vector<PMString> families;
    FontManager& fonts = FontManager::Get();
    for (int32 i = 0; i < fonts.GetFontGroupCount(); ++i)
        if (const FontGroup* group = fonts.GetFontGroup(i)) families.push_back(group->family);
    if (!keep.IsEmpty() && std::find(families.begin(), families.end(), keep) == families.end())
        families.push_back(keep);
    std::sort(families.begin(), families.end());
    families.erase(std::unique(families.begin(), families.end()), families.end());
    std::vector<DialogItem> items;
    for (const PMString& family : families) items.push_back(DialogItem{family, false});
    return items;
}

int32 IndexOf(const std::vector<DialogItem>& items, const PMString& text)
{
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].text == text) return static_cast<int32>(i);
    return -1;
}

PMString ChosenText(const Dialog& dialog, WidgetID widget)
{
    const DialogWidget* w = dialog.FindWidget(widget);
    if (!w || w->selected < 0 || w->selected >= static_cast<int32>(w->items.size())) return PMString();
    return w->items[w->selected].text;
}

} // namespace

void MifFontSubstDialogController::FillStyles(Dialog& dialog, const PMString& style)
{
    PMString keep("OV#0xB40#kMifDontChangeFontStyleKey");
    keep.Translate();
    std::vector<DialogItem> items{DialogItem{keep, false}};
    std::vector<PMString> faces;
    if (const FontGroup* group = FontManager::Get().FindFontGroup(ChosenText(dialog, kMifDesignFamilyWidgetID)))
        for (const InstalledFont& font : group->fonts) faces.push_back(font.style);
    if (!style.IsEmpty() && std::find(faces.begin(), faces.end(), style) == faces.end()) faces.push_back(style);
    std::sort(faces.begin(), faces.end());
    faces.erase(std::unique(faces.begin(), faces.end()), faces.end());
    for (const PMString& face : faces) items.push_back(DialogItem{face, false});
    int32 chosen = style.IsEmpty() ? 0 : std::max(0, IndexOf(items, style));
    dialog.SetItems(kMifDesignStyleWidgetID, std::move(items));
    dialog.SetSelected(kMifDesignStyleWidgetID, chosen);
}

void MifFontSubstDialogController::InitializeDialogFields()
{
    Dialog* dialog = GetDialog();
    InterfacePtr<IMifSubstData> substData(dialog->GetDataObject(), IID_IMIFSUBSTDATA);
    if (!substData) {
        MIF_LOG_NIL(substData);
        return;
    }
    const MifFontKey& frameFont = substData->GetFrameMakerFont();
    const MifIDFont& designFont = substData->GetInDesignFont();
    SetTextControlData(kMifFrameFamilyWidgetID, frameFont.GetFamily());
    SetTextControlData(kMifFrameAngleWidgetID, frameFont.GetAngle());
    SetTextControlData(kMifFrameWeightWidgetID, frameFont.GetWeight());
    SetTextControlData(kMifFrameVariationWidgetID, frameFont.GetVariation());
    std::vector<DialogItem> families = FamilyItems(designFont.GetFamily());
    int32 family = IndexOf(families, designFont.GetFamily());
    dialog->SetItems(kMifDesignFamilyWidgetID, std::move(families));
    SetSelectedIndex(kMifDesignFamilyWidgetID, family);
    FillStyles(*dialog, designFont.GetStyle());
}

WidgetID MifFontSubstDialogController::ValidateDialogFields()
{
    if (GetTextControlData(kMifFrameFamilyWidgetID).IsEmpty()) {
        CAlert::WarningAlert("OV#0xB40#kMifEnterFrameMakerFamilyKey");
        return kMifFrameFamilyWidgetID;
    }
    if (ChosenText(*GetDialog(), kMifDesignFamilyWidgetID).IsEmpty()) {
        CAlert::WarningAlert("OV#0xB40#kMifEnterInDesignFamilyKey");
        return kMifDesignFamilyWidgetID;
    }
    return kInvalidWidgetID;
}

void MifFontSubstDialogController::ApplyDialogFields()
{
    Dialog* dialog = GetDialog();
    InterfacePtr<IMifSubstData> substData(dialog->GetDataObject(), IID_IMIFSUBSTDATA);
    if (!substData) {
        MIF_LOG_NIL(substData);
        return;
    }
    MifFontKey frameFont(GetTextControlData(kMifFrameFamilyWidgetID), GetTextControlData(kMifFrameAngleWidgetID),
                         GetTextControlData(kMifFrameWeightWidgetID), GetTextControlData(kMifFrameVariationWidgetID));
    // The first style entry keeps the style the font mapping gives: an empty style.
    PMString style = GetSelectedIndex(kMifDesignStyleWidgetID) > 0 ? ChosenText(*dialog, kMifDesignStyleWidgetID)
                                                                    : PMString();
    substData->Set(frameFont, MifIDFont(ChosenText(*dialog, kMifDesignFamilyWidgetID), style));
}
