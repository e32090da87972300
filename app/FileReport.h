// FileReport: what one conversion did to one file, as tessel convert --report-json writes it and
// tessel batch gathers it into its summary: the outcome, the time, the pages, what the warnings
// said, and the counts of the fidelity check.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct FileReport {
    std::string input;    // the MIF file
    std::string output;   // the package
    // "converted", "failed", "crashed", "timed out" or "skipped".
    std::string status;
    std::string reason;   // why it failed or was skipped; empty for a converted file
    double seconds = 0;
    int32_t pages = -1;        // of the saved document; -1 when unknown
    int32_t pagesAdded = -1;   // of those, added for text that overflows; -1 when unknown
    std::vector<std::string> oversetStories;
    std::vector<std::string> missingFonts;
    int32_t warnings = 0;      // lines in the warnings of the conversion
    // The fidelity check: the characters of text the import put in the stories, as it counted
    // them, and the characters in the stories of the saved document; -1 when unknown.
    int64_t importedCharacters = -1;
    int64_t documentCharacters = -1;

    // Whether both counts are known and differ: text was lost or added on the way.
    bool FidelityDiffers() const
    {
        return importedCharacters >= 0 && documentCharacters >= 0 && importedCharacters != documentCharacters;
    }

    // The report as one JSON object (UTF-8; bytes that are not UTF-8 are written as U+FFFD).
    std::string ToJson() const;
    // Reads a report that ToJson wrote; false when `json` is not one.
    static bool FromJson(const std::string& json, FileReport& report);
};

// `text` as a JSON string, quotes included.
std::string JsonString(const std::string& text);
// The bytes of the file at `path`; empty when it cannot be read.
std::string ReadTextFile(const std::filesystem::path& path);
