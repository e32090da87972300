// The plug-in's dialog resources: each fills a new dialog with its title, widgets, controller,
// observer, event handlers and data object. The plug-in registers them with the dialog manager.
#pragma once

class Dialog;

void BuildPrefsDialog_enUS(Dialog& dialog);
void BuildPresetNameDialog_enUS(Dialog& dialog);
void BuildFontSubstDialog_enUS(Dialog& dialog);
void BuildFontEncDialog_enUS(Dialog& dialog);
