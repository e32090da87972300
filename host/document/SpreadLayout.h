// SpreadLayout: places the pages of a spread side by side around the spine.
//
// Spread coordinates have their origin at the spine, half way down the pages. In a facing
// document the pages left of the binding location lie left of the spine; a single-sided spread
// is centred on the origin.
#pragma once

class DataBase;
class Spread;

namespace SpreadLayout {
// Sets boundsInSpread of every page of `spread`.
void Arrange(DataBase& db, Spread& spread);
}
