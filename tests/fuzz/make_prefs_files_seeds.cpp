// Writes seeds for fuzz_prefs_files: each is a byte that picks the reader ('0' preset file, '1'
// font substitution CSV, '2' font encoding CSV) and a file as the preferences dialog writes it,
// or one that a user or a spreadsheet might hand it (other line ends, blank lines, short lines).
// Usage: make_prefs_files_seeds FOLDER
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "FuzzSetup.h"
#include "MemoryStreamWrite.h"

#include "prefs/MifFontTableCsv.h"
#include "prefs/MifPresetFile.h"

namespace {

void Write(const std::filesystem::path& file, char reader, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary) << reader << bytes;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_prefs_files_seeds FOLDER\n");
        return 2;
    }
    SetUpFuzzing();
    std::filesystem::path folder(argv[1]);
    std::filesystem::create_directories(folder);

    MifPresetRecord book;
    book.SetName("Book");
    book.SetLeading(1);
    book.AddSubstitution(MifFontKey("Times", "", "Bold", ""), MifIDFont("Minion Pro", "Bold"));
    book.AddSubstitution(MifFontKey("Helvetica", "Oblique", "", "Narrow"), MifIDFont("Arial", ""));
    book.AddEncoding("Arial CE", 238);
    book.AddEncoding("Symbol", 2);
    MemoryStreamWrite presets;
    if (!MifPresetFile::WriteStream(presets, {MifPresetRecord(), book}, 1)) return 1;
    Write(folder / "presets", '0', std::string(presets.GetBytes().begin(), presets.GetBytes().end()));

    Write(folder / "substitutions", '1', MifFontTableCsv::SubstitutionText(book));
    Write(folder / "substitutions-lf-blank", '1', "\nTimes,Italic,,,Minion Pro,Italic\n\n,,Bold\nCaf\xE9,,,,Arial\r");
    Write(folder / "encodings", '2', MifFontTableCsv::EncodingText(book));
    Write(folder / "encodings-bom", '2', "\xEF\xBB\xBFGreek,161\r\rSymbol,x\nHebrew, 177 \n");
    return 0;
}
