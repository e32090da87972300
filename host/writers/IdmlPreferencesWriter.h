// IdmlPreferencesWriter: Resources/Preferences.xml, the document setup.
//
// Handles: page size, orientation, facing pages and the number of pages (DocumentPreference,
// which readers take as the size of every page that does not say otherwise) and skip by leading
// (TextPreference). Passes over pagesPerSpread: the spreads themselves say how many pages they
// hold.
#pragma once

class IdmlContext;

class IdmlPreferencesWriter {
public:
    static void Write(IdmlContext& context);
};
