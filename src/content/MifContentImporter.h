// MifContentImporter: the character and paragraph formats of a MIF file become styles, and its
// text flows become the text of the stories that their text columns' frames show.
//
// Handles: FontCatalog (every Font becomes a root character style), PgfCatalog (every Pgf becomes
// a root paragraph style with its PgfFont and leading; PgfUseNextTag/PgfNextTag link next
// styles); TextFlow > Para (PgfTag, Pgf, TextRectID) > ParaLine > String, Char, Font, FNote
// (with the footnote bodies of Notes), Variable (variable instances or their text, by the
// preset), XRef/XRefEnd (live cross-references, or the text FrameMaker wrote for them), Marker
// (cross-reference markers when cross-references are live; others ignored). Conditional text is
// ordinary text.
// ATbl anchors place their tables after the anchoring line, each in a paragraph of its own
// formatted from the table format; the table importer fills the cells through
// ImportTextIntoFrame.
// Straddle paragraphs and tables wider than a column split a frame of two or more columns into
// the part above, a frame across the columns and a frame below (MifStraddleFrames).
//
// This class keeps the recipe of flows and paragraphs and the text-model commands at the text
// index; its parts do the rest with its state: MifStyleImporter (styles and the character
// formats in the text), MifHeads (run-in and side heads), MifTablePlacer (tables after their
// anchoring lines) and MifLineItems (the items of a ParaLine).
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "AnchoredObject.h"
#include "Style.h"

#include "base/MifProblemReporter.h"
#include "content/IMifContentImporter.h"
#include "content/MifAttributeBuilder.h"
#include "content/MifHeads.h"
#include "content/MifImportState.h"
#include "content/MifLineItems.h"
#include "content/MifParagraphRules.h"
#include "content/MifStyleImporter.h"
#include "content/MifTablePlacer.h"

class MifContentImporter : public IMifContentImporter {
public:
    MifContentImporter();
    MifContentImporter(const MifContentImporter&) = delete;
    MifContentImporter& operator=(const MifContentImporter&) = delete;

    void SetMifObject(MifObject* mifRoot) override;
    void SetSourceFile(const IDFile& file) override { mSourceFile = file; }
    void ImportStyles() override { mStyles.ImportStyles(); }
    void ImportTextFlows(const MifObject* object) override;
    void ImportTextIntoFrame(const UIDRef& frame, int32 value1, int32 value2, const MifObject* object) override;
    void ImportTextItems(const UIDRef& story, const MifObject* object) override;
    UID FindParagraphStyle(const PMString& name) const override;
    UID FindCharacterStyle(const PMString& name) const override;
    int64 GetImportedCharacterCount() const override { return mImportedCharacters; }
    int32 GetFilePageCount() const override { return mFilePages; }

    // Creates the style of a Font (character) or Pgf (paragraph) statement, replacing a style of
    // the same kind and name.
    void CreateStyle(const MifObject& format, StyleKind kind) { mStyles.CreateStyle(format, kind); }
    // The attribute builders with this importer's services and state.
    MifAttributeBuilder GetAttributeBuilder();

    // ---- for the importer's parts ----

    MifObject* Root() const { return mMifRoot; }
    MifImportState& State() { return mImportState; }
    const MifImportState& State() const { return mImportState; }
    MifStyleImporter& Styles() { return mStyles; }
    MifHeads& Heads() { return mHeads; }
    MifTablePlacer& Tables() { return mTables; }
    // The paragraphs of a flow, a footnote or a cell, each by the paragraph algorithm.
    void ImportParagraphs(const MifObject& parent);
    // Indexes the catalogs, the footnote bodies and the text columns, once per file.
    void IndexCatalogs();
    // The catalog format of a Font tag, and the footnote body of an FNote ID; nullptr when none.
    const MifObject* CatalogFont(const PMString& tag) const;
    const MifObject* FootnoteBody(int32 id) const;
    const MifObject* AFrames() const { return mMifAFrames; }
    const MifObject* TblCatalog() const { return mMifTblCatalog; }
    const MifObject* Tbls() const { return mMifTbls; }
    // The line of the text item being imported, for its reports.
    void SetItemLine(int32 line) { mItemLine = line; }

    // The text-model commands at the text index of the current story.
    bool HasStory() const;
    bool InsertAtTextIndex(std::u16string text);
    void ApplyStyleAtTextIndex(UID style);
    void ApplyAttributesAtTextIndex(const AttributeBossList& attributes, int32 index);
    // Inserts `text` at the text index, decoded (escapes, or the 8-bit set of the font in force)
    // when `decode`; the index advances.
    void InsertText(const PMString& text, bool decode);
    // Deletes [index, index + length) of the story, the text index and the anchors pending in the
    // paragraph moving with the text after it.
    bool DeleteTextAt(int32 index, int32 length);
    // Text as the file's version and the font in force decode it, with the control characters
    // that no story can hold taken out.
    void DecodeText(PMString& text);
    // Tells the user of `problem` through the import's error log.
    void Report(const MifProblem& problem) const { MifProblemReporter(this).Report(problem); }
    // The width of a column of the frame that holds `index` of the story; 0 when none does.
    double ColumnWidthAt(int32 index) const;
    // The depth of a line of the current paragraph in its own font; 12 pt when the size is not
    // known.
    PMReal LineDepth() const;

    // A string value; nullptr for a property of another type.
    static const PMString* StringOf(const MifProp* prop);
    // The style a paragraph format's tag names: InDesign keeps "[No paragraph style]" for its own
    // root style.
    static PMString ParagraphStyleName(const PMString& tag);
    // The host's start-paragraph code for the next frame.
    static constexpr int32 kStartNextFrame = 3;

private:
    using FormatMap = std::unordered_map<std::u16string, const MifObject*>;

    void ImportParagraph(const MifObject& mifPara, const MifObject* nextPara);
    void EnterTextColumn(const MifObject& mifPara);
    void ReadParagraphFormat(const MifObject& mifPara);
    void ReadFormatRecord(const MifObject& mifPara, PgfRecord& record) const;
    const MifObject* CatalogPgf(const PMString* tag) const;
    static const MifObject* OwnPgf(const MifObject& mifPara);
    const PMString* ParagraphTag(const MifObject& mifPara) const;
    void ApplySpaceBefore();
    void ApplyKeepWithPrevious();
    void ApplyLeading();
    void StartParagraph();
    // The steps that the heads, the composer and the tables fill in.
    void UpdatePlacementSequences(const MifObject& mifPara);
    void ApplyPendingStartParagraph();
    void StraddleSideheadArea();
    // Straddles in frames of two or more columns: the frame is split (MifStraddleFrames) and the
    // straddling paragraphs fill the frame across it.
    bool OpenStraddle();
    void CloseStraddle();
    void DeleteUnhonouredTabs();
    // One line of the paragraph, [start, end), ended by a forced line break or the paragraph's end.
    bool DeleteUnhonouredTabsOfLine(int32 start, int32 end, const std::vector<TabStop>& stops);
    // The characters of `text` that GetImportedCharacterCount counts.
    static int64 CountCharacters(const std::u16string& text);
    void ReportProgress();

    MifObject* mMifRoot = nullptr;
    const MifObject* mMifAFrames = nullptr;
    const MifObject* mMifPgfCatalog = nullptr;
    const MifObject* mMifFontCatalog = nullptr;
    const MifObject* mMifTblCatalog = nullptr;
    const MifObject* mMifTbls = nullptr;
    double mMifVersion = 5.5;
    IDFile mSourceFile;
    MifImportState mImportState;

    // Looked up once per import: the catalog formats by tag (the last of a tag, as for the
    // styles), the footnote bodies by ID, the IDs of the file's text columns.
    FormatMap mPgfFormats;
    FormatMap mFontFormats;
    std::unordered_map<int32, const MifObject*> mFootnotes;
    std::unordered_set<int32> mTextRectIds;
    bool mIndexed = false;
    // The frames of the reference pages that paragraph separators name, indexed when first asked.
    std::unique_ptr<MifParagraphRules> mParagraphRules;

    // The importer's parts, each working on the state above.
    MifStyleImporter mStyles;
    MifHeads mHeads;
    MifTablePlacer mTables;
    MifLineItems mLineItems;

    int32 mItemLine = 0;  // the line of the text item being imported, for its reports
    int32 mParagraphTotal = 0;
    int32 mParagraphsDone = 0;
    int32 mLastPercent = -1;
    int64 mImportedCharacters = 0;  // GetImportedCharacterCount
    int32 mFilePages = 0;
};
