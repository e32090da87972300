// DocumentLayout: adding and removing pages and spreads of a document, as the page commands do.
#pragma once

#include "DataBase.h"
#include "Document.h"
#include "Spread.h"

#include <vector>

namespace DocumentLayout {
// Adds a spread of `pageCount` pages at `position` in the document's spread list (-1: at the
// end), each page of the document's page size with the first master spread applied.
Spread* AddSpread(DataBase& db, int32 position, int32 pageCount);
// Adds a page to `spread` (at its end) of the document's page size.
Page* AddPage(DataBase& db, Spread& spread);
// Inserts `count` pages of the document's page size, with the first master spread applied,
// after `afterPage`, a page of the document; returns them in order (none when `afterPage` is not
// a document page). A single-sided document gets a spread for each page (or the pages join
// afterPage's spread when pages follow it there); in a facing document the pages from
// afterPage's spread on are dealt into spreads again (ShufflePages).
std::vector<UID> InsertPages(DataBase& db, UID afterPage, int32 count);
// Deals the pages of the document's spreads from `firstSpread` (an index) on into spreads of a
// left and a right page around the spine, as a facing document keeps them: the first of those
// pages keeps its side, the others alternate. Page items go with the page they are drawn on
// (items on no page with the first page of their spread), keeping their place on it. Nothing
// happens in a single-sided document.
void ShufflePages(DataBase& db, size_t firstSpread);
// Removes a page from its spread, and the spread from the document when it is left empty;
// sections that started at the page start at the next page.
void RemovePage(DataBase& db, UID pageUID);
// Removes a spread with its pages and page items.
void RemoveSpread(DataBase& db, UID spreadUID);
// Removes a page item from its spread. A text frame leaves its thread, which closes over the
// gap; its story goes with the last frame that shows it. The story's lines stay good when the
// frame was its last and held none; otherwise they are composed anew.
void RemovePageItem(DataBase& db, UID itemUID);
}
