// MifXRefImporter: cross-reference formats, cross-references and their markers become the
// companion cross-reference plug-in's formats, cross-references and source markers.
//
// Handles: XRefFormats > XRefFormat (XRefName, XRefDef: literals, character-format tags, the
// building blocks <$paratext>, <$paranum>, <$paranumonly>, <$pagenum>, <$filename>,
// <$fullfilename>, <$chapnum> with a [tag] of a preceding paragraph), XRef (XRefName,
// XRefSrcText, XRefSrcFile naming this file), Marker (MTypeName "Cross-Ref" or MType 9, MText).
// Kept as FrameMaker's text, with a warning: references into other files or to markers the file
// lacks. Passed over: XRefSrcIsElem,
// XRefLastUpdate, building blocks of other names (with a warning), markers of other types.
// Only called when the plug-in is installed (the preset's cross-reference mode reads 2).
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "base/MifProblemReporter.h"
#include "catalogs/IMifXRefImporter.h"

class DataBase;

class MifXRefImporter : public IMifXRefImporter {
public:
    void SetRoot(MifObject* mifRoot) override;
    void ImportXRefFormats() override;
    std::optional<MifXRefInstance> ImportXRef(const MifObject* mifXRef) override;
    const PMString* ImportSourceMarker(const MifObject* marker) override;
    void SetSourceFile(const IDFile& file) override { mSourceFile = file; }
    PMString TranslateXRefDef(const PMString& definition) const override;

    // The key an XRefSrcText names its marker by: the 4 to 7 digits before a ":" at its start,
    // or else the whole text.
    static PMString GetSourceKey(const PMString& sourceText);
    // Whether `marker` is a cross-reference marker: MTypeName "Cross-Ref", or without a name the
    // type number FrameMaker gives those markers (9).
    static bool IsCrossRefMarker(const MifObject& marker);

private:
    // The building blocks of `definition` that have no translation, for the warning.
    static std::vector<PMString> FindUnknownBlocks(const PMString& definition);
    // Tells the user of `problem` through the import's error log.
    void Report(const MifProblem& problem) const { MifProblemReporter(this).Report(problem); }
    // The format an XRef names, when it has a definition; nullptr (the warning given) otherwise.
    const MifObject* FindFormat(const MifObject& mifXRef);
    // Whether the marker that `sourceText` names is in this file (the warning given if not).
    bool HasTarget(const MifObject& mifXRef, const PMString& sourceText, const PMString& key);
    // The building blocks of a format that have no translation, once per format.
    void ReportUnknownBlocks(const MifObject& format, const PMString& formatName, const PMString& definition);
    // Whether the MIF path `sourceFile` names the imported file itself.
    bool IsThisFile(const PMString& sourceFile) const;
    // Collects the keys of every cross-reference marker of the file, once.
    void IndexMarkers();

    MifObject* mMifRoot = nullptr;
    const MifObject* mMifXRefFormats = nullptr;
    IDFile mSourceFile;
    // The marker keys inserted so far, to tell the user of a second marker of the same key.
    std::unordered_set<std::u16string> mMarkerKeys;
    // Formats whose unknown blocks were reported, so that each format is reported once.
    std::unordered_set<std::u16string> mReportedFormats;
    // The keys of the file's cross-reference markers, wherever they are.
    std::unordered_set<std::u16string> mFileMarkerKeys;
    bool mIndexed = false;
};
