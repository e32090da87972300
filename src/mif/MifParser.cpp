#include "mif/MifParser.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "InterfacePtr.h"
#include "TaskProgressBar.h"

#include "base/IMifErrorLog.h"
#include "base/MifAssertLog.h"
#include "mif/IMifStatementVisitor.h"
#include "mif/IMifTextConverter.h"
#include "mif/MifFacetList.h"
#include "mif/MifKeywordTable.h"
#include "mif/MifObject.h"
#include "mif/MifTreeBuilder.h"
#include "mif/MifUtf8.h"

namespace {

constexpr size_t kMaxKeywordBytes = 256;   // longer names are no keywords; the rest is read and dropped
constexpr size_t kMaxTokenBytes = 4096;    // likewise for the words of number and keyword values
constexpr size_t kFacetBufferStart = 16384;

bool IsBlank(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }
bool IsLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsKeywordChar(int c) { return IsLetter(c) || IsDigit(c) || c == '_'; }
bool IsNumberChar(int c) { return IsDigit(c) || c == '+' || c == '-' || c == '.'; }
bool IsUnitChar(int c) { return IsLetter(c) || c == '"'; }

struct Unit {
    std::string_view name;
    double points;
};

// Searched in this order, exactly and case-sensitively.
constexpr Unit kUnits[] = {
    {"pt", 1.0},      {"point", 1.0},   {"\"", 72.0},     {"in", 72.0},
    {"mm", 2.834645669291339},  {"millimeter", 2.834645669291339},
    {"cm", 28.346456692913385}, {"centimeter", 28.346456692913385},
    {"pc", 12.0},     {"pica", 12.0},   {"dd", 1.06776},  {"didot", 1.06776},
    {"cc", 12.81312}, {"cicero", 12.81312},
};

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && IsBlank(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

// The number at the start of `text` (a leading '+' allowed); false when there is none or it is
// not finite. With `whole`, nothing may follow it.
bool ParseDouble(std::string_view text, bool whole, double& result)
{
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || (whole && end != text.data() + text.size()) || !std::isfinite(value)) return false;
    result = value;
    return true;
}

bool ParseInt(std::string_view text, int32& result)
{
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
    int32 value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    result = value;
    return true;
}

int Nibble(int c) { return IsDigit(c) ? c - '0' : ((c | 0x20) - 'a' + 10); }

} // namespace

MifObject* MifParser::Parse(IPMStream* stream) { return Read(stream, nullptr); }

void MifParser::Scan(IPMStream* stream, IMifStatementVisitor& visitor)
{
    std::unique_ptr<MifObject> root(Read(stream, &visitor));
}

MifObject* MifParser::Read(IPMStream* stream, IMifStatementVisitor* visitor)
{
    if (!stream || !stream->IsOpen()) return nullptr;
    mStream = stream;
    mVisitor = visitor;
    mVersion = 5.5;
    mDepth = 1;
    mLine = 1;
    mLastPercent = 0;
    mUnitFactor = 72.0;
    mClientData = -1;
    mErrorCount = 0;
    mEofReported = false;
    mAfterCR = mPrevAfterCR = mLastCounted = mLastWasEnd = false;
    mTextConverter = nullptr;
    mTextConverterQueried = false;

    stream->Seek(0, IPMStream::kSeekFromEnd);
    mSize = stream->Tell();
    stream->Seek(0, IPMStream::kSeekFromStart);
    mBlock.assign(kBlockSize + 1, 0);
    mNext = mEnd = mBlock.data();
    mBlockStart = 0;

    // The log and the converter are siblings on this object, which outlives the parse: hold them
    // without a reference, or the object would keep itself alive.
    {
        InterfacePtr<IMifErrorLog> errorLog(this, IID_IMIFERRORLOG);
        if (!errorLog) MIF_LOG_NIL(errorLog);
        mErrorLog = errorLog.get();
    }
    TaskProgressBar* progressBarManager = ProgressBarManager::GetCurrent();
    if (!progressBarManager) MIF_LOG_NIL(progressBarManager);
    mProgressBar = progressBarManager;

    // Scan's visitor frees statements as they come, which an arena would keep to the end.
    MifTreeBuilder builder(visitor == nullptr);
    mBuilder = &builder;
    BuildObject(0, 0);
    MifObject* root = builder.ReleaseRoot();
    mBuilder = nullptr;
    mPending = std::vector<MifProp*>();
    if (!mEofReported) CheckEnding();

    mStream = nullptr;
    mVisitor = nullptr;
    mBlock = std::vector<uchar>();
    mNext = mEnd = nullptr;
    mErrorLog = nullptr;
    mTextConverter = nullptr;
    mProgressBar = nullptr;
    return root;
}

MifObject* MifParser::BuildObject(int32 id, int32 nesting)
{
    MifTreeBuilder& builder = *mBuilder;
    MifObject* object = nesting == 0 ? builder.NewRoot(mLine) : builder.NewObject(id, mLine);
    // A body on the heap is owned here until its prop holds it; the root, by the builder.
    std::unique_ptr<MifObject> owner(nesting > 0 && !builder.InArena() ? object : nullptr);
    // In an arena the props wait on a stack shared by all open bodies, and each body gets its
    // array at its final size when it is complete.
    const size_t firstPending = mPending.size();
    for (;;) {
        int32 type = kMifTypeNone;
        int32 propId = ReadStatementHeader(type);
        if (propId == 0) break;
        if (propId < 0) {
            SkipStatement();
            continue;
        }
        // A footnote is a container inside the Notes list and a reference everywhere else.
        if (propId == kMifFNote) type = id == kMifNotes ? kMifTypeObject : kMifTypeID;
        MifPropVal value;
        if (type == kMifTypeObject) {
            if (nesting >= kMaxNesting) {
                ReportError("Statements nested too deeply, skipping", PMString(MifKeywordTable::GetName(propId, type)));
                SkipStatement();
                continue;
            }
            value.object = BuildObject(propId, nesting + 1);
        } else {
            ReadPropVal(value, type);
        }
        if (propId == kMifMIFFile) {
            SetVersion(value.number);
        } else if (propId == kMifUnits) {
            SetUnits(value.keyword);
            continue;
        } else if (propId == kMifCharUnits) {
            SetCharUnits(value.keyword);
            continue;
        }
        if (builder.InArena()) {
            mPending.push_back(builder.NewProp(propId, type, value, mLine));
            continue;
        }
        std::unique_ptr<MifProp> prop(builder.NewProp(propId, type, value, mLine));
        if (mVisitor && !mVisitor->Visit(*object, *prop)) continue;
        object->AddProp(prop.release());
    }
    if (builder.InArena()) {
        builder.SetProps(*object, mPending.data() + firstPending, mPending.size() - firstPending);
        mPending.resize(firstPending);
    }
    owner.release();
    return object;
}

void MifParser::CheckEnding()
{
    constexpr int64 kPeek = 256;
    auto read = [this](int64 from, int64 count) {
        std::string bytes(static_cast<size_t>(count), '\0');
        mStream->Seek(from, IPMStream::kSeekFromStart);
        int64 got = mStream->XferBytes(reinterpret_cast<uchar*>(bytes.data()), count);
        bytes.resize(static_cast<size_t>(std::max<int64>(got, 0)));
        return bytes;
    };
    std::string head = read(0, std::min(kPeek, mSize));
    head = head.substr(0, head.find_first_of("\r\n"));
    if (head.find("# Generated by") == std::string::npos) return;
    std::string tail = read(std::max<int64>(0, mSize - kPeek), std::min(kPeek, mSize));
    size_t lastStatement = tail.rfind('>');
    std::string after = lastStatement == std::string::npos ? tail : tail.substr(lastStatement + 1);
    if (after.find("# End of MIFFile") != std::string::npos) return;
    ReportError("The file does not end with its \"# End of MIFFile\" line: it may have been cut short, and what "
                "followed is missing");
}

void MifParser::CountLineEnd(int b)
{
    // A line ends at CR, at LF, and once at a CR LF pair.
    if (b == '\r') {
        mLastCounted = mAfterCR = true;
    } else if (b == '\n') {
        mLastCounted = !mAfterCR;
        mAfterCR = false;
    } else {
        mLastCounted = mAfterCR = false;
    }
    if (mLastCounted) ++mLine;
}

bool MifParser::Refill()
{
    if (!mStream) return false;
    // Keep the last byte read, so that Unread() works across blocks.
    size_t keep = mNext && mNext > mBlock.data() ? 1 : 0;
    if (keep) mBlock[0] = mNext[-1];
    mBlockStart = Position() - static_cast<int64>(keep);
    int64 got = mStream->XferBytes(mBlock.data() + keep, kBlockSize);
    mNext = mBlock.data() + keep;
    mEnd = mNext + std::max<int64>(got, 0);
    return got > 0;
}

void MifParser::Unread()
{
    if (mLastWasEnd || mNext == mBlock.data()) return;  // nothing was read
    --mNext;
    if (mLastCounted) --mLine;
    mAfterCR = mPrevAfterCR;
    mLastCounted = false;
}

void MifParser::SkipComment(bool allowLiveStatements)
{
    if (allowLiveStatements) {
        // "#!TQ " hides a statement from other readers; for us it is MIF.
        static constexpr char kLive[] = "!TQ ";
        int c = 0;
        int matched = 0;
        while (matched < 4) {
            c = Next();
            if (c != kLive[matched]) break;
            ++matched;
        }
        if (matched == 4) return;
        if (c == -1 || c == '\r' || c == '\n') return;
    }
    for (;;) {
        // Pass over the bytes that end no line in one go.
        const uchar* run = mNext;
        while (run < mEnd && *run > '\r') ++run;
        if (run > mNext) {
            mPrevAfterCR = (run - mNext == 1) ? mAfterCR : false;
            mNext = run;
            mAfterCR = mLastCounted = false;
            mLastWasEnd = false;
        }
        int c = Next();
        if (c == -1 || c == '\r' || c == '\n') return;
    }
}

int MifParser::NextNonBlank(bool allowLiveStatements)
{
    for (;;) {
        int c = Next();
        if (IsBlank(c)) continue;
        if (c == '#') {
            SkipComment(allowLiveStatements);
            continue;
        }
        return c;
    }
}

void MifParser::SkipToStatementMark()
{
    // Blanks and line ends between statements, taken from the block in one go and counted as
    // Next() counts them: a line ends at CR, at LF, and once at a CR LF pair.
    const uchar* p = mNext;
    bool afterCR = mAfterCR;
    int32 line = mLine;
    for (; p < mEnd; ++p) {
        const uchar b = *p;
        if (b > '\r') {
            if (b == '<' || b == '>' || b == '=' || b == '#') break;
            afterCR = false;
        } else if (b == '\r') {
            ++line;
            afterCR = true;
        } else if (b == '\n') {
            if (!afterCR) ++line;
            afterCR = false;
        } else {
            afterCR = false;
        }
    }
    if (p == mNext) return;
    // Next() follows at once, so only the state it starts from matters.
    mNext = p;
    mLine = line;
    mAfterCR = afterCR;
    mPrevAfterCR = mLastCounted = mLastWasEnd = false;
}

int32 MifParser::ReadStatementHeader(int32& type)
{
    ShowProgress();
    int c;
    for (;;) {
        SkipToStatementMark();
        c = Next();
        if (c == -1) {
            if (mDepth != 1 && !mEofReported) {
                ReportError("Unexpected end of file, missing right angle bracket(s)");
                mEofReported = true;
            }
            return 0;
        }
        if (c == '#') {
            SkipComment(true);
            continue;
        }
        if (c == '<' || c == '>' || c == '=') break;
    }
    if (c == '=') {
        type = kMifTypeFacets;
        return kMifInset;
    }
    if (c == '>') {
        --mDepth;
        return 0;
    }
    ++mDepth;
    c = NextNonBlank(true);
    char keyword[kMaxKeywordBytes];
    size_t length = 0;
    bool tooLong = false;
    if (IsKeywordChar(c)) {
        // The rest of the name is mostly in the block: take it in one go, bytes that end no line.
        keyword[length++] = static_cast<char>(c);
        const uchar* run = mNext;
        const uchar* stop = mNext + std::min<size_t>(static_cast<size_t>(mEnd - mNext), kMaxKeywordBytes - 1);
        while (run < stop && IsKeywordChar(*run)) ++run;
        if (run > mNext) {
            std::memcpy(keyword + length, mNext, static_cast<size_t>(run - mNext));
            length += static_cast<size_t>(run - mNext);
            mNext = run;
            mPrevAfterCR = mAfterCR = mLastCounted = false;
        }
        c = Next();
    }
    while (IsKeywordChar(c)) {
        if (length < kMaxKeywordBytes)
            keyword[length++] = static_cast<char>(c);
        else
            tooLong = true;
        c = Next();
    }
    if (c == -1) {
        ReportError("Unexpected end of file");
        mEofReported = true;
        return 0;
    }
    // The '>' closes the statement; a '#' starts a comment that the value reader must still see.
    if (c == '>' || c == '#') Unread();
    std::string_view name(keyword, length);
    int32 id = tooLong ? -1 : MifKeywordTable::Lookup(name, &type);
    if (id < 0) {
        std::string message = "Unknown statement <";
        message.append(name);
        message.append(" >, skipping");
        ReportError(message.c_str());
        return -1;
    }
    return id;
}

void MifParser::StatementClosed() { --mDepth; }

void MifParser::ReadPropVal(MifPropVal& value, int32 type)
{
    value = MifPropVal();
    if (type == kMifTypeFacets) {
        ReadFacets(value);
        return;
    }
    int c = NextNonBlank(false);
    if (c == -1) {
        ReportError("Unexpected end of file");
        mEofReported = true;
        return;
    }
    if (c == '>') {
        if (type != kMifTypeNone && type != kMifTypeSkip) ReportError("Property value expected");
        StatementClosed();
        return;
    }
    switch (type) {
    case kMifTypeString:
    case kMifTypeTag:
    case kMifTypeRawString:
    case kMifTypeString2:
        ReadString(value, type, c);
        return;
    case kMifTypeBool:
    case kMifTypeInt:
    case kMifTypeID:
    case kMifTypeNumber:
    case kMifTypePercent:
    case kMifTypeInt2:
    case kMifTypeKeyword:
        ReadToken(value, type, c);
        return;
    case kMifTypeDim:
    case kMifTypeSize:
    case kMifTypeDim2:
    case kMifTypePoint:
    case kMifTypeMargins:
    case kMifTypeRect:
    case kMifTypeRect2:
        ReadDimensions(value, type, c);
        return;
    default:
        // Skipped statements, and values given to words that take none: pass over the rest.
        RecoverStatement(c);
        return;
    }
}

void MifParser::RecoverStatement(int c)
{
    if (c != -1) Unread();
    SkipStatement();
}

void MifParser::ReadString(MifPropVal& value, int32 type, int c)
{
    mScratch.clear();
    bool quoted = c == '`';
    if (quoted)
        c = Next();
    else
        ReportError("Ivalid string (missing opening quote)");
    // The bytes are kept as written, escapes included; an escaped character never ends the string.
    bool closed = false;
    const int32 line = mLine;
    const size_t limit = static_cast<size_t>(mLimits.stringBytes);
    bool tooLong = false;
    for (;; c = Next()) {
        if (c == -1) break;
        // Past the limit the string is read to its end but nothing more is kept.
        if (mScratch.size() > limit) {
            tooLong = true;
            mScratch.resize(limit);
        }
        if (c > '\r' && c != '\\' && c != '\'' && c != '>') {
            // Take the run of ordinary bytes that follows in one go.
            mScratch.push_back(static_cast<char>(c));
            const uchar* run = mNext;
            while (run < mEnd && *run > '\r' && *run != '\\' && *run != '\'' && *run != '>') ++run;
            mScratch.append(reinterpret_cast<const char*>(mNext), static_cast<size_t>(run - mNext));
            if (run > mNext) {
                mNext = run;
                mPrevAfterCR = mAfterCR = mLastCounted = false;
            }
            continue;
        }
        if (c == '\\') {
            mScratch.push_back('\\');
            c = Next();
            if (c == -1) break;
            mScratch.push_back(static_cast<char>(c));
            continue;
        }
        if (quoted && c == '\'') {
            // Whatever follows the closing quote up to the statement's end is dropped.
            while ((c = Next()) != -1) {
                if (c == '>') {
                    closed = true;
                    break;
                }
            }
            break;
        }
        if (c == '>') {
            closed = true;
            break;
        }
        mScratch.push_back(static_cast<char>(c));
    }
    if (tooLong || mScratch.size() > limit) {
        mScratch.resize(std::min(mScratch.size(), limit));
        std::string detail = "more than " + std::to_string(mLimits.stringBytes) + " bytes";
        ReportError("String too long, cut", PMString(detail), line);
    }
    // Outside a parse (a caller of ReadPropVal) the string is the caller's, on the heap.
    PMString* text = mBuilder ? mBuilder->NewString() : new PMString;
    value.rawString = text;
    MifUtf8::Decode(mScratch, *text);
    if (type != kMifTypeRawString && mVersion < 8.0) ConvertOldString(*text);
    if (closed) StatementClosed();
}

void MifParser::ConvertOldString(PMString& text)
{
    if (!mTextConverterQueried) {
        mTextConverterQueried = true;
        InterfacePtr<IMifTextConverter> textConverter(this, IID_IMIFTEXTCONVERTER);
        if (!textConverter) MIF_LOG_NIL(textConverter);
        mTextConverter = textConverter.get();
    }
    if (mTextConverter) mTextConverter->ConvertString(text, 0);
}

void MifParser::ReadToken(MifPropVal& value, int32 type, int c)
{
    mScratch.clear();
    bool closed = false;
    for (;; c = Next()) {
        if (c == -1) break;
        if (c == '>') {
            closed = true;
            break;
        }
        if (c == '\\') {
            c = Next();
            if (c == -1) break;
            if (mScratch.size() + 1 < kMaxTokenBytes) {
                mScratch.push_back('\\');
                mScratch.push_back(static_cast<char>(c));
            }
            continue;
        }
        if (c == '#') {
            SkipComment(false);
            continue;
        }
        if (mScratch.size() < kMaxTokenBytes) mScratch.push_back(static_cast<char>(c));
    }
    // Other writers put blanks before the '>'; they belong to no value.
    std::string_view token = Trim(mScratch);
    switch (type) {
    case kMifTypeBool:
        if (token == "Yes" || token == "No")
            value.boolean = token == "Yes";
        else
            ReportError("Invalid value for boolean property", PMString(token));
        break;
    case kMifTypeInt:
    case kMifTypeID:
    case kMifTypeInt2:
        if (!ParseInt(token, value.id)) ReportError("Invalid value for number property", PMString(token));
        break;
    case kMifTypeNumber:
    case kMifTypePercent: {
        std::string_view number = token;
        if (type == kMifTypePercent) number = Trim(number.substr(0, number.find('%')));
        if (!ParseDouble(number, true, value.number)) ReportError("Invalid value for degrees property", PMString(token));
        break;
    }
    case kMifTypeKeyword:
        value.keyword = MifKeywordTable::Lookup(token);
        if (value.keyword < 0) ReportError("Invalid value for keyword property", PMString(token));
        break;
    default:
        break;
    }
    if (closed) StatementClosed();
}

void MifParser::ReadDimensions(MifPropVal& value, int32 type, int c)
{
    const int32 count = MifDimCount(type);
    int32 read = 0;
    for (;;) {
        char number[64];
        size_t length = 0;
        while (IsNumberChar(c)) {
            if (length < sizeof number) number[length++] = static_cast<char>(c);
            c = Next();
        }
        double amount = 0;
        if (length > 0 && !ParseDouble(std::string_view(number, length), false, amount)) {
            ReportError("Invalid value for number property", PMString(std::string_view(number, length)));
            amount = 0;
        }
        while (IsBlank(c)) c = Next();
        if (c == -1) break;
        if (c == '>' || IsNumberChar(c)) {
            amount *= mUnitFactor;
        } else {
            char unit[32];
            size_t unitLength = 0;
            while (IsUnitChar(c)) {
                if (unitLength < sizeof unit) unit[unitLength++] = static_cast<char>(c);
                c = Next();
            }
            if (c == -1) break;
            std::string_view unitName(unit, unitLength);
            double factor = 1.0;
            bool known = false;
            for (const Unit& u : kUnits) {
                if (u.name == unitName) {
                    factor = u.points;
                    known = true;
                    break;
                }
            }
            if (!known) ReportError("Invalid unit", PMString(unitName));
            amount *= factor;
        }
        value.dim[read++] = amount;
        while (IsBlank(c)) c = Next();
        if (c == '>') {
            if (read < count) ReportError("Invalid value(s) for dimension property, should contain more values");
            StatementClosed();
            return;
        }
        if (c == -1) break;
        if (read == count) {
            ReportError("Invalid value(s) for dimension property, should contain less values");
            RecoverStatement(c);
            return;
        }
    }
    ReportError("Unexpected end of file");
    mEofReported = true;
}

void MifParser::ReadFacets(MifPropVal& value)
{
    auto facets = std::make_unique<MifFacetList>();
    FacetReading facet;
    int c = Next();
    for (;;) {
        c = ReadFacetName(c, facet.name);
        if (facet.name == "EndInset" || (c == -1 && facet.name.empty())) break;
        facet.line = mLine;
        c = ReadFacetData(facet);
        AddFacet(*facets, facet);
        if (c == -1) {
            ReportError("Unexpected end of file");
            mEofReported = true;
            break;
        }
        c = Next();  // the first character of the next facet's name
    }
    value.facets = facets.release();
}

int MifParser::ReadFacetName(int c, std::string& name)
{
    // The rest of the line after '='; the line end is left for the data.
    while (IsBlank(c)) c = Next();
    name.clear();
    while (c != -1 && c != '\r' && c != '\n') {
        if (name.size() < kMaxTokenBytes) name.push_back(static_cast<char>(c));
        c = Next();
    }
    Unread();
    name = std::string(Trim(name));
    return c;
}

int MifParser::ReadFacetData(FacetReading& facet)
{
    facet.data.clear();
    facet.data.reserve(kFacetBufferStart);
    facet.mode = 'v';
    facet.hex = false;
    facet.tooLarge = false;
    for (;;) {
        int c = NextNonBlank(false);
        if (c == -1 || c == '=') return c;
        if (c == '&') ReadFacetLine(facet);
        // anything else between data lines is passed over
    }
}

void MifParser::ReadFacetLine(FacetReading& facet)
{
    // Mode switches, escapes, and plain or hexadecimal bytes, up to the end of the line.
    for (;;) {
        int c = Next();
        if (c == -1) return;
        if (c == '\r' || c == '\n') {
            Unread();
            return;
        }
        int byte = -1;
        if (c == '%') {
            int d = Next();
            if (d == 'v' || d == 'i' || d == 'm') {
                facet.mode = d;
                continue;
            }
            Unread();
            byte = '%';
        } else if (c == '\\') {
            int d = Next();
            if (d == 'x') {
                facet.hex = !facet.hex;
                continue;
            }
            if (d == '\\')
                byte = '\\';
            else if (d == 'r')
                byte = 0x0D;
            else if (d == 'n')
                byte = 0x0A;
            else {
                Unread();
                byte = '\\';
            }
        } else if (facet.hex) {
            int low = Next();
            if (low == -1 || low == '\r' || low == '\n') {
                Unread();  // half a byte at the end of the line is dropped
                return;
            }
            StoreFacetByte(facet, ((Nibble(c) << 4) | Nibble(low)) & 0xFF);
            continue;
        } else {
            byte = c;
        }
        if (facet.hex || facet.mode == 'v') StoreFacetByte(facet, byte);
    }
}

void MifParser::StoreFacetByte(FacetReading& facet, int byte)
{
    // Past the limit the facet is read to its end but nothing more is kept.
    if (static_cast<int64>(facet.data.size()) >= mLimits.facetBytes) {
        facet.tooLarge = true;
        return;
    }
    facet.data.push_back(static_cast<uchar>(byte));
}

void MifParser::AddFacet(MifFacetList& facets, FacetReading& facet)
{
    if (facet.tooLarge) {
        std::string detail = facet.name + ", more than " + std::to_string(mLimits.facetBytes) + " bytes";
        ReportError("Inset facet too large, skipping", PMString(detail), facet.line);
    } else {
        facets.Add(PMString(facet.name), facet.data.data(), static_cast<int32>(facet.data.size()));
    }
    facet.data = std::vector<uchar>();  // a large buffer is not kept for the next facet
}

void MifParser::SkipStatement()
{
    int32 nesting = 1;
    while (nesting > 0) {
        int c = Next();
        switch (c) {
        case -1:
            return;  // the statement never ends: the depth stays, and the end of the file is reported
        case '<':
            ++nesting;
            break;
        case '>':
            --nesting;
            break;
        case '`':
            // A string ends at an unescaped quote or at the end of its line.
            for (;;) {
                c = Next();
                if (c == -1) return;
                if (c == '\\') {
                    if (Next() == -1) return;
                    continue;
                }
                if (c == '\'' || c == '\r' || c == '\n') break;
            }
            break;
        case '#':
            SkipComment(true);
            break;
        default:
            break;
        }
    }
    --mDepth;
}

void MifParser::SetUnits(int32 keyword)
{
    switch (keyword) {
    case kMifUcc: mUnitFactor = 12.81312; break;
    case kMifUcm: mUnitFactor = 28.346456692913385; break;
    case kMifUdd: mUnitFactor = 1.06776; break;
    case kMifUin: mUnitFactor = 72.0; break;
    case kMifUmm: mUnitFactor = 2.834645669291339; break;
    case kMifUpica: mUnitFactor = 12.0; break;
    case kMifUpt: mUnitFactor = 1.0; break;
    default: break;  // other words leave the unit as it is
    }
}

void MifParser::ShowProgress()
{
    if (!mProgressBar) return;
    int64 position = Position();
    int32 percent = mSize > 0 ? static_cast<int32>(std::min<int64>(position * 100 / mSize + 1, 100)) : 100;
    if (percent == mLastPercent) return;
    mLastPercent = percent;
    PMString text("^1% / ^2 KB processed");
    PMString percentText, kilobytes;
    percentText.AppendNumber(percent);
    kilobytes.AppendNumber(position / 1000);
    StringUtils::ReplaceStringParameters(&text, percentText, kilobytes);
    text.SetTranslated();
    mProgressBar->SetTaskText(text);
    mProgressBar->SetTaskFraction(percent / 100.0);
}

void MifParser::ReportError(const char* message, const PMString& detail, int32 line)
{
    ++mErrorCount;
    if (!mErrorLog || mErrorCount > kMaxReportedErrors + 1) return;
    if (mErrorCount == kMaxReportedErrors + 1) {
        mErrorLog->AddParseError(mLine, "Too many errors, the rest are not listed", PMString());
        return;
    }
    mErrorLog->AddParseError(line > 0 ? line : mLine, PMString(message), detail);
}
