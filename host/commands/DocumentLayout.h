// DocumentLayout: adding and removing pages and spreads of a document, as the page commands do.
#pragma once

#include "DataBase.h"
#include "Document.h"
#include "Spread.h"

namespace DocumentLayout {
// Adds a spread of `pageCount` pages at `position` in the document's spread list (-1: at the
// end), each page of the document's page size with the first master spread applied.
Spread* AddSpread(DataBase& db, int32 position, int32 pageCount);
// Adds a page to `spread` (at its end) of the document's page size.
Page* AddPage(DataBase& db, Spread& spread);
// Removes a page from its spread, and the spread from the document when it is left empty;
// sections that started at the page start at the next page.
void RemovePage(DataBase& db, UID pageUID);
// Removes a spread with its pages and page items.
void RemoveSpread(DataBase& db, UID spreadUID);
// Removes a page item from its spread. A text frame leaves its thread, which closes over the
// gap; its story goes with the last frame that shows it.
void RemovePageItem(DataBase& db, UID itemUID);
}
