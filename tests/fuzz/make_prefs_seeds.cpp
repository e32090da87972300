// Writes real preferences files as seeds for fuzz_prefs, through the same session saving that
// the tessel command uses: a fresh installation, several presets with both font tables, a part
// of a plug-in that is not loaded, and damaged copies (cut short, a wrong preset magic).
// Usage: make_prefs_seeds FOLDER
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "CmdUtils.h"
#include "FuzzSetup.h"
#include "Session.h"

#include "prefs/MifSetPrefsCmd.h"

namespace {

namespace fs = std::filesystem;

// Saves `presets` (current: `current`) as `folder`/`name`; false when it could not.
bool Save(const fs::path& folder, const std::string& name, const std::vector<MifPresetRecord>& presets, int32 current)
{
    PMString problem;
    fs::path file = folder / name;
    fs::remove(file);
    Session::OpenWorkspace(IDFile(file), problem);
    auto setPrefsCmd = std::make_shared<MifSetPrefsCmd>();
    setPrefsCmd->GetData().SetPresets(presets);
    setPrefsCmd->GetData().SetCurrentPreset(current);
    bool saved = CmdUtils::ProcessCommand(setPrefsCmd) == kSuccess && Session::SaveWorkspace(problem) == kSuccess;
    Session::CloseWorkspace();
    if (!saved) std::fprintf(stderr, "make_prefs_seeds: cannot write %s\n", file.c_str());
    return saved;
}

std::string Read(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Write(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_prefs_seeds FOLDER\n");
        return 2;
    }
    SetUpFuzzing();
    fs::path folder(argv[1]);
    fs::create_directories(folder);

    MifPresetRecord book;
    book.SetName("Book");
    book.SetLeading(1);
    book.SetComposer(1);
    book.SetVariables(1);
    book.AddSubstitution(MifFontKey("Times", "", "", ""), MifIDFont("Minion Pro", ""));
    book.AddSubstitution(MifFontKey("Times", "Italic", "Bold", "Condensed"), MifIDFont("Minion Pro", "Bold Cond Italic"));
    book.AddEncoding("Arial CE", 238);
    book.AddEncoding("Symbol", 2);
    MifPresetRecord manual;
    manual.SetName("Manual \u00e9dition");
    manual.SetCrossReferences(1);
    manual.SetConditionalText(1);
    manual.AddSubstitution(MifFontKey("Helvetica", "Regular", "", ""), MifIDFont("Arial", "Regular"));
    manual.AddEncoding("Greek", 161);

    bool saved = Save(folder, "fresh.dat", {MifPresetRecord()}, 0) &&
                 Save(folder, "three-presets.dat", {MifPresetRecord(), book, manual}, 2) &&
                 Save(folder, "book-only.dat", {book}, 0);
    if (!saved) return 1;
    std::string whole = Read(folder / "three-presets.dat");
    Write(folder / "cut-short.dat", whole.substr(0, whole.size() / 2));
    // The magic of the second preset ("TQpt") changed: it and those after it keep their defaults.
    std::string wrongMagic = whole;
    size_t second = wrongMagic.find("TQpt", wrongMagic.find("TQpt") + 4);
    if (second != std::string::npos) wrongMagic[second] = 'X';
    Write(folder / "wrong-preset-magic.dat", wrongMagic);
    // A part of a plug-in that is not loaded, which is kept as it was read.
    std::string unclaimed = whole;
    if (unclaimed.size() >= 12) {
        unclaimed[11] = static_cast<char>(unclaimed[11] + 1);  // one more part
        unclaimed += std::string("\x00\x0c\x00\x01\x00\x00\x00\x04" "abcd", 12);
        Write(folder / "unclaimed-part.dat", unclaimed);
    }
    return 0;
}
