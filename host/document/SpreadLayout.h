// SpreadLayout: places the pages of a spread side by side around the spine.
//
// Spread coordinates have their origin at the spine, half way down the pages. In a facing
// document the pages left of the binding location lie left of the spine; a single-sided spread
// is centred on the origin.
#pragma once

#include "UIDRef.h"

class DataBase;
class MasterSpread;
class Page;
class PageItem;
class Spread;

namespace SpreadLayout {
// Sets boundsInSpread of every page of `spread`.
void Arrange(DataBase& db, Spread& spread);
// Whether `page` is a left page: one left of its spread's binding location. Pages of a
// single-sided spread are right pages only when they lie right of the binding, so every page of a
// spread whose binding location is 0 is a right page.
bool IsLeftPage(const DataBase& db, const Page& page);
// The page of `master` that lies beneath `page` and shows its master items: in a facing document
// the master page of the same side (its first left page or first right page), else the master
// page at the same place in its spread, the last when the master has fewer pages; null when the
// master has no pages.
const Page* GetMasterPage(const DataBase& db, const MasterSpread& master, const Page& page);
// The page of its spread that the item is drawn on: the page its bounds overlap most; kInvalidUID
// when the item lies on the pasteboard only (or on no spread).
UID GetDrawingPage(const DataBase& db, const PageItem& item);
}
