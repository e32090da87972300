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
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "AnchoredObject.h"
#include "Style.h"

#include "content/IMifContentImporter.h"
#include "content/MifAttributeBuilder.h"
#include "content/MifImportState.h"
#include "content/MifParagraphRules.h"

class MifContentImporter : public IMifContentImporter {
public:
    void SetMifObject(MifObject* mifRoot) override;
    void SetSourceFile(const IDFile& file) override { mSourceFile = file; }
    void ImportStyles() override;
    void ImportTextFlows(const MifObject* object) override;
    void ImportTextIntoFrame(const UIDRef& frame, int32 value1, int32 value2, const MifObject* object) override;
    void ImportTextItems(const UIDRef& story, const MifObject* object) override;
    void InsertText(const PMString& text, bool decode) override;
    void ApplyCharacterStyle(const PMString& name) override;
    void SetStory(const UIDRef& story) override { mImportState.story = story; }
    UIDRef GetStory() const override { return mImportState.story; }
    void SetTextIndex(int32 index) override { mImportState.textIndex = index; }
    int32 GetTextIndex() const override { return mImportState.textIndex; }
    UID FindParagraphStyle(const PMString& name) const override;
    UID FindCharacterStyle(const PMString& name) const override;
    int64 GetImportedCharacterCount() const override { return mImportedCharacters; }
    int32 GetFilePageCount() const override { return mFilePages; }

    // Creates the style of a Font (character) or Pgf (paragraph) statement, replacing a style of
    // the same kind and name.
    void CreateStyle(const MifObject& format, StyleKind kind);
    // The attribute builders with this importer's services and state.
    MifAttributeBuilder GetAttributeBuilder();

private:
    using FormatMap = std::unordered_map<std::u16string, const MifObject*>;

    void LinkNextStyles(const MifObject& pgfCatalog);
    void IndexCatalogs();

    // The paragraphs of a flow, a footnote or a cell, each by the paragraph algorithm.
    void ImportParagraphs(const MifObject& parent);
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
    void InsertRunInPunctuation();
    // Run-in and side heads: each an anchored text frame filled instead of the body story.
    void OpenRunIn();
    void CloseRunIn();
    void OpenSidehead();
    void CloseSidehead();
    // Puts the anchor of a head at the start of a body paragraph of its own (the paragraph after
    // the head's continues it) and saves the body position after the anchor.
    bool StartHeadAnchor(PMReal width, PMReal height, const AnchoredObjectSettings& settings);
    void EndHead();
    void CloseHeads();
    void StraddleSideheadArea();
    // Straddles in frames of two or more columns: the frame is split (MifStraddleFrames) and the
    // straddling paragraphs fill the frame across it.
    bool OpenStraddle();
    void CloseStraddle();
    // A table wider than a column plus the gap of the frame of two or more columns that holds
    // `index`, its indents on its aligned sides counted in.
    bool IsWideTable(const MifObject& tbl, int32 index, int32 alignment, double leftIndent, double rightIndent) const;
    bool CloseWideTable(int32 tableParagraph, double spaceBefore, bool split);
    void DeleteUnhonouredTabs();
    // One line of the paragraph, [start, end), ended by a forced line break or the paragraph's end.
    bool DeleteUnhonouredTabsOfLine(int32 start, int32 end, const std::vector<TabStop>& stops);
    // Deletes [index, index + length) of the story, the text index moving with the text after it.
    bool DeleteTextAt(int32 index, int32 length);
    // The characters of `text` that GetImportedCharacterCount counts.
    static int64 CountCharacters(const std::u16string& text);
    void PlaceTableAnchors();
    void PlaceTable(const MifObject& tbl, int32 index, bool first, bool last);
    void RecordTableAnchor(const MifProp& prop);
    // A table-format property of `tbl`: its own TblFormat first, then the catalog format.
    const MifProp* FindTblFormatProp(const MifObject& tbl, int32 id) const;
    // The width of a column of the frame that holds `index` of the story; 0 when none does.
    double ColumnWidthAt(int32 index) const;
    void AnchorFrame(const MifProp& prop);
    // Anchors the Below frames met so far. `underTheirLines`: each under the composed line that
    // holds its anchor, in its own paragraph (at the paragraph's end); otherwise, frames left over
    // from a head or a story the text has left, all at the current text index.
    void AnchorPendingBelowFrames(bool underTheirLines);
    // Anchors `frames` at `index` of `story`, above the line that starts there; a forced line
    // break is put in front when no line starts at `index`. The number of characters inserted.
    int32 AnchorBelowFramesAt(const UIDRef& story, int32 index, const std::vector<UIDRef>& frames);
    void ImportParaLine(const MifObject& mifParaLine);
    void ImportChar(const MifProp& prop);
    void ImportFootnote(const MifProp& prop);
    void ImportVariable(const MifObject& mifVariable);
    // The cross-reference importer's part, in the mode that uses cross-references.
    int32 CrossReferenceMode();
    bool ImportXRef(const MifObject& mifXRef);
    void ImportMarker(const MifObject& marker);
    void EndCrossReferenceText(const MifObject& mifPara);
    void ChangeFont(const MifObject& mifFont);
    void ReportProgress();

    // The text-model commands at the text index of the current story.
    bool InsertAtTextIndex(const std::u16string& text);
    void ApplyStyleAtTextIndex(UID style);
    void ApplyAttributesAtTextIndex(const AttributeBossList& attributes, int32 index);
    bool HasStory() const;

    // Text as the file's version and the font in force decode it, with the control characters
    // that no story can hold taken out.
    void DecodeText(PMString& text);
    void AddError(const PMString& message, const PMString& detail, int32 line = 0);
    // Indexes the Tbls by TblID; a Tbl whose TblID an earlier one has can never be placed, and
    // is reported with the text it holds.
    void IndexTables();

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

    // The Tbls by TblID (the first of an ID: the one its anchor places); the tables anchored in
    // the current paragraph, with the text index of each anchor; and the TblIDs placed so far (a
    // table is placed once).
    std::unordered_map<int32, const MifObject*> mTblsById;
    std::vector<const MifObject*> mPendingTables;
    std::vector<int32> mPendingTableIndexes;
    std::unordered_set<int32> mPlacedTables;
    bool mTablesPlaced = false;

    // The Below frames met in the paragraph being imported, anchored when it ends, the text
    // indexes of their anchors, and the story they go into.
    std::vector<UIDRef> mPendingBelowFrames;
    std::vector<int32> mPendingBelowIndexes;
    UIDRef mPendingBelowStory;

    // The frames below the last straddle and the last wide table, made when each closed.
    UIDRef mSplineBelowStraddleRef;
    UIDRef mSplineBelowWideTableRef;

    int32 mItemLine = 0;  // the line of the text item being imported, for its reports
    int32 mParagraphTotal = 0;
    int32 mParagraphsDone = 0;
    int32 mLastPercent = -1;
    int64 mImportedCharacters = 0;  // GetImportedCharacterCount
    int32 mFilePages = 0;
};
