// TestDocument: small documents built straight into a database, as the import's commands will
// build them, for tests of the writers.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "DataBase.h"
#include "Document.h"
#include "Section.h"
#include "Spread.h"
#include "SpreadLayout.h"
#include "TempFolder.h"

class TestDocument {
public:
    // An empty document with pages of `width` x `height` points.
    explicit TestDocument(PMReal width = 612, PMReal height = 792, bool facing = false)
    {
        Doc().preferences.pageWidth = width;
        Doc().preferences.pageHeight = height;
        Doc().preferences.facingPages = facing;
        Doc().preferences.pagesPerSpread = facing ? 2 : 1;
    }

    Document& Doc() { return *mDB.GetDocument(); }
    DataBase& DB() { return mDB; }

    // A spread of `pageCount` pages of the document's size, `binding` of them left of the spine,
    // laid out and appended to the document.
    Spread& AddSpread(int pageCount, int binding = 0) { return Fill(*mDB.Create<Spread>(), pageCount, binding, Doc().spreads); }

    // A master spread "prefix-baseName" of `pageCount` pages, based on `basedOn` when given.
    MasterSpread& AddMaster(const char* prefix, const char* baseName, int pageCount, const MasterSpread* basedOn = nullptr)
    {
        MasterSpread& master = *mDB.Create<MasterSpread>();
        master.prefix = prefix;
        master.baseName = baseName;
        if (basedOn) master.basedOn = basedOn->GetUID();
        int binding = Doc().preferences.facingPages ? pageCount / 2 : 0;
        return static_cast<MasterSpread&>(Fill(master, pageCount, binding, Doc().masterSpreads));
    }

    Page& PageOf(const Spread& spread, size_t index) { return *mDB.Get<Page>(spread.pages.at(index)); }

    Layer& AddLayer(const char* name)
    {
        Layer& layer = *mDB.Create<Layer>();
        layer.name = name;
        Doc().layers.push_back(layer.GetUID());
        return layer;
    }

    Section& AddSection(const Page& start, PageNumberStyle style, bool continueNumbering, int32 startNumber = 1)
    {
        Section& section = *mDB.Create<Section>();
        section.startPage = start.GetUID();
        section.numberingStyle = style;
        section.continueNumbering = continueNumbering;
        section.pageNumberStart = startNumber;
        Doc().sections.push_back(section.GetUID());
        return section;
    }

private:
    Spread& Fill(Spread& spread, int pageCount, int binding, std::vector<UID>& list)
    {
        for (int i = 0; i < pageCount; ++i) {
            Page& page = *mDB.Create<Page>();
            page.spread = spread.GetUID();
            page.width = Doc().preferences.pageWidth;
            page.height = Doc().preferences.pageHeight;
            spread.pages.push_back(page.GetUID());
        }
        spread.bindingLocation = binding;
        SpreadLayout::Arrange(mDB, spread);
        list.push_back(spread.GetUID());
        return spread;
    }

    DataBase mDB;
};
