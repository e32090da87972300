// FontReport: what the conversion report says about a document's fonts, apart from the families
// the document names that this system lacks (the host's missing-fonts list): the faces that
// stood in for them when the text was composed and the preview drawn, and the characters that
// no installed font can draw.
#pragma once

#include <string>
#include <vector>

class DataBase;

namespace FontReport {

// One line per family of the document that is not installed, naming the face the composer and
// the preview used in its place and whether it has the same widths ("Times: Nimbus Roman
// (metric-compatible)"), with the faces that drew the characters that face lacks; and one line
// per installed family whose characters were partly drawn by other faces. Empty when every
// family was set in itself.
std::vector<std::string> StandIns(const DataBase& db);

// One line per character of the document's text that no installed font has a glyph for
// ("U+A4F8 ꓸ"), in the order first met; at most `limit` lines, then one saying how many more.
std::vector<std::string> UndrawableCharacters(const DataBase& db, size_t limit = 20);

} // namespace FontReport
