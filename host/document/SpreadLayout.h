// SpreadLayout: places the pages of a spread side by side around the spine.
//
// Spread coordinates have their origin at the spine, half way down the pages. In a facing
// document the pages left of the binding location lie left of the spine; a single-sided spread
// is centred on the origin.
#pragma once

#include "UIDRef.h"

class DataBase;
class PageItem;
class Spread;

namespace SpreadLayout {
// Sets boundsInSpread of every page of `spread`.
void Arrange(DataBase& db, Spread& spread);
// The page of its spread that the item is drawn on: the page its bounds overlap most; kInvalidUID
// when the item lies on the pasteboard only (or on no spread).
UID GetDrawingPage(const DataBase& db, const PageItem& item);
}
