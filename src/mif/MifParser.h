// MifParser: reads a MIF file byte by byte into the MifObject tree.
//
// A recursive-descent reader with no token stream: the statement reader finds the next
// "<Keyword", looks the keyword up in MifKeywordTable, and the value reader reads the value by the
// keyword's MifValueType. Lengths are converted to points as they are read. MIFFile, Units and
// CharUnits steer the reading (Units and CharUnits leave no prop). "#!TQ " at the start of a
// comment is not a comment, so that live statements can hide from other readers.
//
// Bad input never stops the parse: unknown statements are skipped whole, bad values are stored as
// 0, -1 or empty, and each problem goes to the error log beside the parser. Nesting deeper than
// kMaxNesting is skipped and reported, so no file can exhaust the stack, and after
// kMaxReportedErrors reports the rest are only counted. Sizes are bounded too (Limits): a facet
// that grows past its bound is read to its end, dropped and reported; a longer string is cut.
#pragma once

#include <string>
#include <vector>

#include "mif/IMifParser.h"

class IMifErrorLog;
class IMifStatementVisitor;
class IMifTextConverter;
class MifFacetList;
class MifProp;
class MifTreeBuilder;
class TaskProgressBar;

class MifParser : public IMifParser {
public:
    static constexpr int32 kMaxNesting = 256;
    static constexpr int32 kMaxReportedErrors = 10000;

    // How much of one value the parser keeps. Facet sizes are recorded as 32-bit counts, so the
    // facet bound stays below 2 GiB.
    struct Limits {
        int64 facetBytes = int64(1) << 30;   // bytes of one inset facet
        int64 stringBytes = int64(1) << 26;  // bytes of one string value, as written
    };
    // Replaces the limits for the parses that follow (tests lower them).
    void SetLimits(const Limits& limits) { mLimits = limits; }

    MifObject* Parse(IPMStream* stream) override;
    int32 ReadStatementHeader(int32& type) override;
    void ReadPropVal(MifPropVal& value, int32 type) override;
    int32 GetLine() const override { return mLine; }
    void SkipStatement() override;
    void SetVersion(double version) override { mVersion = version; }
    void SetUnits(int32 keyword) override;
    void SetCharUnits(int32) override {}
    void SetClientData(int32 value) override { mClientData = value; }
    int32 GetClientData() const override { return mClientData; }
    void Scan(IPMStream* stream, IMifStatementVisitor& visitor) override;

    double GetVersion() const { return mVersion; }
    // Problems found by the last Parse, including those past kMaxReportedErrors.
    int32 GetErrorCount() const { return mErrorCount; }
    // Bytes in the stream of the last Parse.
    int64 GetSize() const { return mSize; }

private:
    // Reading characters. Next() returns a byte or -1 at the end; Unread() puts back the byte
    // that the last Next() returned (and takes back the line it counted).
    int Next()
    {
        if (mNext == mEnd && !Refill()) {
            mLastWasEnd = true;
            return -1;
        }
        int b = *mNext++;
        mLastWasEnd = false;
        mPrevAfterCR = mAfterCR;
        if (b > '\r') {
            mLastCounted = mAfterCR = false;
            return b;
        }
        CountLineEnd(b);
        return b;
    }
    void Unread();
    void CountLineEnd(int b);
    // Reads the next block of the stream; false at its end.
    bool Refill();
    int64 Position() const { return mBlockStart + (mNext - mBlock.data()); }
    void SkipComment(bool allowLiveStatements);
    // Passes over the bytes before the next '<', '>', '=' or '#' (or the block's end).
    void SkipToStatementMark();
    int NextNonBlank(bool allowLiveStatements);

    // Parse and Scan: reads the whole stream into the root; with a visitor, only what it keeps.
    MifObject* Read(IPMStream* stream, IMifStatementVisitor* visitor);
    MifObject* BuildObject(int32 id, int32 nesting);
    void ReadString(MifPropVal& value, int32 type, int c);
    void ReadToken(MifPropVal& value, int32 type, int c);
    void ReadDimensions(MifPropVal& value, int32 type, int c);
    // One facet as it is read: its name, the line of its "=" and its bytes so far.
    struct FacetReading {
        std::string name;
        int32 line = 0;
        std::vector<uchar> data;
        int mode = 'v';          // %v, %i or %m: only bytes read in mode v are kept (or in hex)
        bool hex = false;        // between two \x: bytes written as two hexadecimal digits
        bool tooLarge = false;   // more bytes than Limits::facetBytes
    };
    void ReadFacets(MifPropVal& value);
    // Reads the name that follows '=' (from `c` to the end of the line); returns the last character read.
    int ReadFacetName(int c, std::string& name);
    // Reads the '&' lines of one facet; returns the character that ended it ('=' or -1 at the end).
    int ReadFacetData(FacetReading& facet);
    void ReadFacetLine(FacetReading& facet);
    void StoreFacetByte(FacetReading& facet, int byte);
    // Adds the facet to the list, or reports it when it grew too large.
    void AddFacet(MifFacetList& facets, FacetReading& facet);
    // Puts back `c` and skips to the end of the statement whose value could not be read.
    void RecoverStatement(int c);
    void StatementClosed();
    void ShowProgress();
    // A file whose first line signs the program that wrote it ("# Generated by ...") ends with
    // the "# End of MIFFile" comment; without it the file was cut short, perhaps between two
    // statements, where nothing else shows the loss. Reported once, at the last line.
    void CheckEnding();
    // Reports at `line`, or at the current line when `line` is 0.
    void ReportError(const char* message, const PMString& detail = PMString(), int32 line = 0);
    void ConvertOldString(PMString& text);

    IPMStream* mStream = nullptr;
    IMifStatementVisitor* mVisitor = nullptr;      // during Scan: decides which statements stay
    IMifErrorLog* mErrorLog = nullptr;             // the log of this parser's own object
    IMifTextConverter* mTextConverter = nullptr;   // queried on the first string that needs it
    bool mTextConverterQueried = false;
    TaskProgressBar* mProgressBar = nullptr;
    double mVersion = 5.5;
    int32 mDepth = 1;
    int32 mLine = 1;
    int64 mSize = 0;
    int32 mLastPercent = 0;
    double mUnitFactor = 72.0;
    int32 mClientData = -1;
    int32 mErrorCount = 0;
    bool mEofReported = false;
    Limits mLimits;

    // State of the last Next(), so that Unread() can undo it.
    bool mAfterCR = false;
    bool mPrevAfterCR = false;
    bool mLastCounted = false;
    bool mLastWasEnd = false;

    std::string mScratch;  // bytes of the string or token being read
    MifTreeBuilder* mBuilder = nullptr;  // during a parse: makes the tree's parts
    std::vector<MifProp*> mPending;      // props of the open bodies, innermost last (in an arena)

    // The stream is read a block at a time, which is many times faster than a call per byte. The
    // byte before the block is kept at its front so that a byte can always be put back.
    static constexpr size_t kBlockSize = 1 << 16;
    std::vector<uchar> mBlock;
    const uchar* mNext = nullptr;
    const uchar* mEnd = nullptr;
    int64 mBlockStart = 0;  // stream offset of mBlock[0]
};
