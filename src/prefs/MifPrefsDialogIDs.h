// Identifiers of the preferences dialogs: the menu action that opens them, their resources and
// their widgets. Like every identifier of the plug-in, each is its prefix plus a small number.
#pragma once

#include "DialogWidget.h"

#include "base/TesselID.h"

// Actions of the plug-in's menu entries
constexpr uint32 kMifPrefsActionID = kTesselPrefix + 0x1F;  // Edit > Preferences > "Tessel..."

// Dialog resources
constexpr uint32 kMifPrefsDialogRsrcID = kTesselPrefix + 0x80;
constexpr uint32 kMifPresetNameDialogRsrcID = kTesselPrefix + 0x81;
constexpr uint32 kMifFontSubstDialogRsrcID = kTesselPrefix + 0x82;
constexpr uint32 kMifFontEncDialogRsrcID = kTesselPrefix + 0x83;

// Widgets of the preferences dialog
constexpr WidgetID kMifPresetDropDownWidgetID = kTesselPrefix + 0x100;
constexpr WidgetID kMifNewPresetButtonWidgetID = kTesselPrefix + 0x101;
constexpr WidgetID kMifRenamePresetButtonWidgetID = kTesselPrefix + 0x102;
constexpr WidgetID kMifDeletePresetButtonWidgetID = kTesselPrefix + 0x103;
constexpr WidgetID kMifLoadPresetsButtonWidgetID = kTesselPrefix + 0x104;
constexpr WidgetID kMifSavePresetsButtonWidgetID = kTesselPrefix + 0x105;
constexpr WidgetID kMifPanelDropDownWidgetID = kTesselPrefix + 0x106;
constexpr WidgetID kMifPrefsHelpButtonWidgetID = kTesselPrefix + 0x107;
// the Conversion Preferences panel
constexpr WidgetID kMifLeadingGroupWidgetID = kTesselPrefix + 0x110;
constexpr WidgetID kMifComposerGroupWidgetID = kTesselPrefix + 0x111;
constexpr WidgetID kMifCrossRefsGroupWidgetID = kTesselPrefix + 0x112;
constexpr WidgetID kMifVariablesGroupWidgetID = kTesselPrefix + 0x113;
constexpr WidgetID kMifConditionsGroupWidgetID = kTesselPrefix + 0x114;
// the Font Substitution Table panel
constexpr WidgetID kMifFontSubstListWidgetID = kTesselPrefix + 0x120;
constexpr WidgetID kMifAddFontSubstButtonWidgetID = kTesselPrefix + 0x121;
constexpr WidgetID kMifEditFontSubstButtonWidgetID = kTesselPrefix + 0x122;
constexpr WidgetID kMifDeleteFontSubstButtonWidgetID = kTesselPrefix + 0x123;
constexpr WidgetID kMifImportFontSubstButtonWidgetID = kTesselPrefix + 0x124;
constexpr WidgetID kMifExportFontSubstButtonWidgetID = kTesselPrefix + 0x125;
// the Font Encoding Table panel
constexpr WidgetID kMifFontEncListWidgetID = kTesselPrefix + 0x130;
constexpr WidgetID kMifAddFontEncButtonWidgetID = kTesselPrefix + 0x131;
constexpr WidgetID kMifEditFontEncButtonWidgetID = kTesselPrefix + 0x132;
constexpr WidgetID kMifDeleteFontEncButtonWidgetID = kTesselPrefix + 0x133;
constexpr WidgetID kMifImportFontEncButtonWidgetID = kTesselPrefix + 0x134;
constexpr WidgetID kMifExportFontEncButtonWidgetID = kTesselPrefix + 0x135;
// The panels, as the panel drop-down numbers them
constexpr int32 kMifConversionPanel = 1;
constexpr int32 kMifFontSubstPanel = 2;
constexpr int32 kMifFontEncPanel = 3;

// Widgets of the preset-name dialog
constexpr WidgetID kMifPresetNameWidgetID = kTesselPrefix + 0x140;
// Widgets of the font-substitution and font-encoding entry dialogs
constexpr WidgetID kMifFrameFamilyWidgetID = kTesselPrefix + 0x150;
constexpr WidgetID kMifFrameAngleWidgetID = kTesselPrefix + 0x151;
constexpr WidgetID kMifFrameWeightWidgetID = kTesselPrefix + 0x152;
constexpr WidgetID kMifFrameVariationWidgetID = kTesselPrefix + 0x153;
constexpr WidgetID kMifDesignFamilyWidgetID = kTesselPrefix + 0x154;
constexpr WidgetID kMifDesignStyleWidgetID = kTesselPrefix + 0x155;
constexpr WidgetID kMifEncodingWidgetID = kTesselPrefix + 0x156;
constexpr WidgetID kMifLoadFontDataButtonWidgetID = kTesselPrefix + 0x157;
constexpr WidgetID kMifClearFontDataButtonWidgetID = kTesselPrefix + 0x158;
constexpr WidgetID kMifEntryHelpButtonWidgetID = kTesselPrefix + 0x159;
