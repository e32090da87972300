// MifFontHints: the font names that chosen MIF files use, offered as suggestions in the
// drop-down lists of the font substitution and font encoding entry dialogs.
//
// Each file must start as a MIF file (as the import recognises one) and is then read by the
// plug-in's parser as a scan: the FFamily, FAngle, FWeight and FVar of every Font and PgfFont
// statement, at any depth, are taken as they pass and nothing else is kept, so even a large file
// costs little memory. Strings are decoded as in an import; the parser's error log is not shown.
// Empty values, and values longer than kMaxHintLength characters, are no suggestions.
#pragma once

#include <functional>
#include <set>
#include <vector>

#include "IDFile.h"
#include "PMString.h"

#include "mif/IMifStatementVisitor.h"
#include "prefs/MifFileStatus.h"

class MifFontHints : private IMifStatementVisitor {
public:
    static constexpr int32 kMaxHintLength = 255;

    // Scans each file in turn under a progress bar ("Analysing MIF File", one task per file). A
    // file that cannot be opened or is not MIF is handed to `report` with its status, and the
    // scan goes on with the next file.
    void AddFromFiles(const std::vector<IDFile>& files, const std::function<void(MifFileStatus, const IDFile&)>& report);
    // Scans one file: kDone (what it holds is added, even when it is damaged past its start),
    // kCantOpen (missing, a folder, unreadable) or kNotMif (it does not start as a MIF file).
    MifFileStatus AddFromFile(const IDFile& file);
    // Forgets every hint.
    void Clear();

    // The hints, sorted (PMString order); empty until a file adds some.
    const std::set<PMString>& GetFamilies() const { return mFamilies; }
    const std::set<PMString>& GetAngles() const { return mAngles; }
    const std::set<PMString>& GetWeights() const { return mWeights; }
    const std::set<PMString>& GetVariations() const { return mVariations; }

private:
    // Takes the font fields of Font and PgfFont bodies; keeps no statement.
    bool Visit(const MifObject& body, const MifProp& statement) override;

    std::set<PMString> mFamilies;
    std::set<PMString> mAngles;
    std::set<PMString> mWeights;
    std::set<PMString> mVariations;
};
