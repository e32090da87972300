#include "catalogs/MifVariableImporter.h"

#include <cwctype>

#include "DataBase.h"
#include "Document.h"
#include "ErrorUtils.h"
#include "InterfacePtr.h"
#include "StyleUtils.h"

#include "base/IMifErrorLog.h"
#include "base/MifAssertLog.h"
#include "base/MifErrorLog.h"
#include "base/MifProblemReporter.h"
#include "mif/IMifTextConverter.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"

namespace {

PMString Number(int64 value, bool twoDigits = false)
{
    PMString text;
    if (twoDigits && value >= 0 && value < 10) text.AppendW(u'0');
    text.AppendNumber(value);
    return text;
}

// A day or month name in the process's locale.
PMString TimeName(const char* format, const std::tm& now)
{
    char buffer[64];
    size_t size = std::strftime(buffer, sizeof buffer, format, &now);
    return PMString(std::string_view(buffer, size));
}

bool StartsWith(const PMString& text, const char* prefix) { return text.GetUTF8String().rfind(prefix, 0) == 0; }

// The 19 date and time blocks with their date-format tokens, searched in this order.
constexpr std::pair<const char*, const char*> kDateTokens[] = {
    {"<$second>", "s"},        {"<$second00>", "ss"},       {"<$minute>", "m"},         {"<$minute00>", "mm"},
    {"<$hour>", "h"},          {"<$hour01>", "hh"},         {"<$hour24>", "HH"},        {"<$ampm>", "a"},
    {"<$AMPM>", "A"},          {"<$daynum>", "d"},          {"<$daynum01>", "dd"},      {"<$dayname>", "EEEE"},
    {"<$shortdayname>", "E"},  {"<$monthname>", "MMMM"},    {"<$shortmonthname>", "MMM"}, {"<$monthnum>", "M"},
    {"<$monthnum01>", "MM"},   {"<$year>", "yyyy"},         {"<$shortyear>", "yy"},
};

// The date kind a format's name gives: the six names FrameMaker gives its date variables. Other
// names show the current date: a date kept under a name of the user's own is still a date.
ClassID DateKind(const PMString& formatName)
{
    const std::string name = formatName.GetUTF8String();
    if (name == "Modification Date (Long)" || name == "Modification Date (Short)") return kModificationDateVariableType;
    if (name == "Creation Date (Long)" || name == "Creation Date (Short)") return kCreationDateVariableType;
    return kCurrentDateVariableType;
}

bool IsLiteral(const PMString& piece) { return !piece.IsEmpty() && piece[0] != u'<'; }

bool HasLetter(const PMString& text)
{
    for (char16_t c : text.GetUTF16())
        if (std::iswalpha(static_cast<wint_t>(c))) return true;
    return false;
}

// Cuts a definition into pieces: a "<" closes the piece being collected and starts a new one; a
// ">" or the end closes the piece. MIF writes a block's closing bracket as "\>": the backslash
// goes. `keepAtOpen` and `keepAtClose` decide which closed pieces are kept.
template <class KeepAtOpen, class KeepAtClose>
std::vector<PMString> CutPieces(const PMString& definition, KeepAtOpen keepAtOpen, KeepAtClose keepAtClose)
{
    std::vector<PMString> pieces;
    PMString piece;
    const std::u16string& units = definition.GetUTF16();
    for (size_t i = 0; i < units.size(); ++i) {
        char16_t c = units[i];
        if (c == u'<') {
            if (!piece.IsEmpty() && keepAtOpen(piece)) pieces.push_back(piece);
            piece.Clear();
            piece.AppendW(c);
            continue;
        }
        if (c == u'>' && !piece.IsEmpty() && piece[piece.CharCount() - 1] == u'\\') piece.GetUTF16Ref().pop_back();
        piece.AppendW(c);
        if (c == u'>' || i + 1 == units.size()) {
            if (keepAtClose(piece)) pieces.push_back(piece);
            piece.Clear();
        }
    }
    return pieces;
}

} // namespace

std::vector<PMString> MifVariableImporter::GetFormatPieces(const PMString& definition)
{
    return CutPieces(
        definition, [](const PMString&) { return true; },
        [](const PMString& piece) {
            const int32 length = piece.CharCount();
            if (length >= 3) return piece[0] != u'<' || piece[1] == u'$';
            return piece[0] != u'<';
        });
}

std::vector<PMString> MifVariableImporter::GetInstancePieces(const PMString& definition)
{
    return CutPieces(
        definition, [](const PMString&) { return true; }, [](const PMString& piece) { return piece.CharCount() > 2; });
}

PMString MifVariableImporter::GetDateToken(const PMString& block)
{
    const std::string name = block.GetUTF8String();
    for (const auto& [dateBlock, token] : kDateTokens)
        if (name == dateBlock) return PMString(token);
    return PMString();
}

void MifVariableImporter::SetRoot(MifObject* mifRoot)
{
    mMifRoot = mifRoot;
    mMifVariableFormats = mifRoot ? mifRoot->GetObject(kMifVariableFormats) : nullptr;
}

bool MifVariableImporter::GetBlockText(const PMString& block, const std::tm& now, int32 temporaryPages, PMString& text)
{
    const std::string name = block.GetUTF8String();
    const int hour = now.tm_hour;
    if (name == "<$curpagenum>") {
        text = PMString(std::u16string(1, u'\x18'));
    } else if (name == "<$lastpagenum>") {
        DataBase* db = GetDataBase();
        int32 pages = db && db->GetDocument() ? db->GetDocument()->GetPageCount() : 0;
        text = Number(pages - temporaryPages);
    } else if (name == "<$filename>") {
        text = mSourceFile.GetFileName();
    } else if (name == "<$fullfilename>") {
        text = mSourceFile.GetPathString();
    } else if (name == "<$volnum>" || name == "<$chapnum>") {
        const MifObject* document = mMifRoot ? mMifRoot->GetObject(kMifDocument) : nullptr;
        bool chapter = name == "<$chapnum>";
        MifPropVal value;
        if (chapter && document && document->GetPropVal(kMifChapterNumStyle, value) &&
            (value.keyword == kMifTextStyle || value.keyword == kMifCustom)) {
            const MifProp* own = document->FindProp(kMifChapterNumText);
            text = own && MifIsStringType(own->type) && own->value.rawString ? *own->value.rawString : PMString();
        } else {
            int32 start = document && document->GetPropVal(chapter ? kMifChapterNumStart : kMifVolumeNumStart, value) ? value.id : 1;
            text = Number(start);
        }
    } else if (StartsWith(block, "<$paratext[")) {
        text = PMString();
    } else if (name == "<$second>" || name == "<$second00>") {
        text = Number(now.tm_sec, name == "<$second00>");
    } else if (name == "<$minute>" || name == "<$minute00>") {
        text = Number(now.tm_min, name == "<$minute00>");
    } else if (name == "<$hour>" || name == "<$hour01>" || name == "<$hour24>") {
        // A 0 before hours below 10, but for <$hour>; the 12-hour forms count past noon from 1.
        text = PMString();
        if (hour < 10 && name != "<$hour>") text.AppendW(u'0');
        text.AppendNumber(hour > 12 && name != "<$hour24>" ? hour - 12 : hour);
    } else if (name == "<$ampm>") {
        text = hour > 12 ? "pm" : "am";
    } else if (name == "<$AMPM>") {
        text = hour > 12 ? "PM" : "AM";
    } else if (name == "<$daynum>" || name == "<$daynum01>") {
        text = Number(now.tm_mday, name == "<$daynum01>");
    } else if (name == "<$dayname>") {
        text = TimeName("%A", now);
    } else if (name == "<$shortdayname>") {
        text = TimeName("%a", now);
    } else if (name == "<$monthname>") {
        text = TimeName("%B", now);
    } else if (name == "<$shortmonthname>") {
        text = TimeName("%b", now);
    } else if (name == "<$monthnum>" || name == "<$monthnum01>") {
        text = Number(now.tm_mon + 1, name == "<$monthnum01>");
    } else if (name == "<$year>") {
        text = Number(now.tm_year + 1900);
    } else if (name == "<$shortyear>") {
        text = Number((now.tm_year + 1900) % 100);
    } else {
        return false;
    }
    return true;
}

std::vector<MifVariableImporter::TextPiece> MifVariableImporter::GetTextPieces(const PMString& definition, const std::tm& now,
                                                                             int32 temporaryPages)
{
    std::vector<TextPiece> pieces;
    PMString piece;
    auto close = [&]() {
        if (piece.IsEmpty()) return;
        PMString text;
        if (piece[0] == u'<' && GetBlockText(piece, now, temporaryPages, text))
            pieces.push_back(TextPiece{text, true});
        else
            pieces.push_back(TextPiece{piece, false});
        piece.Clear();
    };
    const std::u16string& units = definition.GetUTF16();
    for (size_t i = 0; i < units.size(); ++i) {
        char16_t c = units[i];
        if (c == u'<') {
            close();
            piece.AppendW(c);
        } else if (c == u'>') {
            // MIF writes the closing bracket of a block as "\>".
            if (!piece.IsEmpty() && piece[piece.CharCount() - 1] == u'\\') piece.GetUTF16Ref().pop_back();
            piece.AppendW(c);
            close();
        } else {
            piece.AppendW(c);
        }
    }
    close();
    return pieces;
}

std::vector<MifVariablePiece> MifVariableImporter::ConvertVariableToText(const MifObject* mifVariable, int32 temporaryPages)
{
    std::vector<MifVariablePiece> pieces;
    PMString name, definition;
    if (!FindDefinition(mifVariable, name, definition)) {
        ReportMissingFormat(mifVariable, name);
        return pieces;
    }
    std::time_t clock = std::time(nullptr);
    std::tm now{};
    localtime_r(&clock, &now);
    // Strings of MIF 8 and later keep their escapes until they are inserted; older ones were
    // decoded as they were read.
    MifPropVal version;
    bool decode = mMifRoot && mMifRoot->GetPropVal(kMifMIFFile, version) && version.number >= 8.0;
    for (TextPiece& piece : GetTextPieces(definition, now, temporaryPages)) {
        PMString& text = piece.text;
        if (piece.replaced) {
            pieces.push_back({MifVariablePiece::Kind::kText, std::move(text), false});
        } else if (text[0] == u'<') {
            // A character format's name between brackets; blocks without a text end here too.
            bool closed = text[text.CharCount() - 1] == u'>';
            int32 nameLength = text.CharCount() - (closed ? 2 : 1);
            if (nameLength > 0 && text[1] != u'$') pieces.push_back({MifVariablePiece::Kind::kCharacterStyle, text.Substring(1, nameLength)});
        } else {
            pieces.push_back({MifVariablePiece::Kind::kText, std::move(text), decode});
        }
    }
    return pieces;
}

// ---- Use Variables ----

bool MifVariableImporter::KeepsEscapes() const
{
    MifPropVal version;
    return mMifRoot && mMifRoot->GetPropVal(kMifMIFFile, version) && version.number >= 8.0;
}

PMString MifVariableImporter::Decoded(const PMString& text) const
{
    PMString decoded(text);
    InterfacePtr<IMifTextConverter> textConverter(this, IID_IMIFTEXTCONVERTER);
    if (KeepsEscapes() && textConverter) textConverter->DecodeEscapes(decoded);
    return decoded;
}

bool MifVariableImporter::TranslateFormat(const std::vector<PMString>& pieces, const PMString& name, AddVariableInfo& info) const
{
    // File name: the one block.
    if (pieces.size() == 1 && (pieces[0] == PMString("<$filename>") || pieces[0] == PMString("<$fullfilename>"))) {
        info.SetBaseTypeID(kFileNameVariableType);
        info.SetIncludePath(pieces[0] == PMString("<$fullfilename>"));
        info.SetIncludeExtension(true);
        return true;
    }
    // Date: date blocks with literals between them that hold no letter.
    if (!pieces.empty() && !GetDateToken(pieces[0]).IsEmpty()) {
        PMString contents;
        bool date = true;
        for (const PMString& piece : pieces) {
            PMString token = GetDateToken(piece);
            if (!token.IsEmpty()) contents.Append(token);
            else if (IsLiteral(piece) && !HasLetter(piece)) contents.Append(Decoded(piece));
            else date = false;
        }
        if (date) {
            info.SetBaseTypeID(DateKind(name));
            info.SetContents(contents);
            return true;
        }
    }
    // Running header: the one <$paratext[tag]> block, when the document has the tag's style.
    if (pieces.size() == 1 && StartsWith(pieces[0], "<$paratext[")) {
        std::u16string tag = pieces[0].GetUTF16().substr(11);
        size_t end = tag.find_first_of(u",]>");
        if (end != std::u16string::npos) tag.resize(end);
        // The paragraph styles were made from the file's formats before.
        DataBase* db = GetDataBase();
        UID style = db ? StyleUtils::FindStyle(*db, StyleKind::kParagraph, PMString(tag)) : kInvalidUID;
        if (style != kInvalidUID) {
            info.SetBaseTypeID(kRunningHeaderVariableType);
            info.SetUse(0);
            info.SetScope(1);
            info.SetDeleteEndPunctuation(false);
            info.SetUID(style);
            return true;
        }
    }
    // Custom text: the one literal.
    if (pieces.size() == 1 && IsLiteral(pieces[0])) {
        info.SetBaseTypeID(kCustomTextVariableType);
        info.SetContents(Decoded(pieces[0]));
        return true;
    }
    return false;
}

void MifVariableImporter::ImportVariableFormats()
{
    DataBase* db = GetDataBase();
    if (!db) {
        MIF_LOG_NIL(db);
        return;
    }
    if (!mMifVariableFormats) return;  // a file without variable formats
    for (const MifObject& format : mMifVariableFormats->Children(kMifVariableFormat)) {
        const PMString* name = format.GetString(kMifVariableName);
        const PMString* definition = format.GetString(kMifVariableDef);
        if (!name) {
            // No Variable can name it; one without a definition is reported where it is used.
            Report({format.line, MifErrorLog::Message("OV#0xB40#kMifVariableFormatWithoutNameKey"), PMString()});
            continue;
        }
        if (!definition) continue;
        std::vector<PMString> pieces = GetFormatPieces(*definition);
        AddVariableInfo info;
        info.SetName(*name);
        if (pieces.size() > 2 && IsLiteral(pieces.front())) {
            info.SetTextBefore(Decoded(pieces.front()));
            pieces.erase(pieces.begin());
        }
        if (pieces.size() > 1 && IsLiteral(pieces.back())) {
            info.SetTextAfter(Decoded(pieces.back()));
            pieces.pop_back();
        }
        // A format that no kind matches whole is split at each of its instances.
        if (TranslateFormat(pieces, *name, info) && TextVariableFacade::AddVariable(*db, info) != kSuccess)
            MIF_LOG_ERROR(TextVariableFacade::AddVariable);
        ErrorUtils::PMSetGlobalErrorCode(kSuccess);
    }
}

void MifVariableImporter::ReportMissingFormat(const MifObject* mifVariable, const PMString& name)
{
    if (!mifVariable) return;
    PMString message;
    const MifObject* format = name.IsEmpty() || !mMifVariableFormats ? nullptr : mMifVariableFormats->FindObjectWithString(kMifVariableName, name, 256);
    if (name.IsEmpty()) {
        message = "A Variable without VariableName, nothing inserted";
    } else if (format) {
        message = MifErrorLog::Message("OV#0xB40#kMifVariableFormatWithoutDefKey", name);
    } else {
        message = "Variable '";
        message.Append(name);
        message.Append("' has no variable format of that name, nothing inserted");
    }
    Report({mifVariable->line, message, PMString()});
}

bool MifVariableImporter::FindDefinition(const MifObject* mifVariable, PMString& name, PMString& definition) const
{
    if (!mifVariable) {
        MIF_LOG_NIL(mifVariable);
        return false;
    }
    const PMString* own = mifVariable->GetString(kMifVariableName);
    if (!own) {
        MIF_LOG_NIL(name);
        return false;
    }
    name = *own;
    const MifObject* mifVariableFormat =
        mMifVariableFormats ? mMifVariableFormats->FindObjectWithString(kMifVariableName, name, 256) : nullptr;
    if (const PMString* def = mifVariableFormat ? mifVariableFormat->GetString(kMifVariableDef) : nullptr) {
        definition = *def;
        return true;
    }
    // FrameMaker's own page variables mean the same in every file; writers that leave their
    // formats out still use them.
    if (name == PMString("Current Page #")) definition = "<$curpagenum>";
    else if (name == PMString("Page Count")) definition = "<$lastpagenum>";
    else {
        MIF_LOG_NIL(mifVariableFormat);
        return false;
    }
    return true;
}

bool MifVariableImporter::TranslateBlock(const PMString& block, const PMString& formatName, AddVariableInfo& info) const
{
    const std::string name = block.GetUTF8String();
    info.SetName(block);
    if (name == "<$lastpagenum>") {
        info.SetBaseTypeID(kLastPageNumberVariableType);
        info.SetScope(1);
    } else if (name == "<$filename>" || name == "<$fullfilename>") {
        info.SetBaseTypeID(kFileNameVariableType);
        info.SetIncludePath(name == "<$fullfilename>");
        info.SetIncludeExtension(true);
    } else if (name == "<$volnum>" || name == "<$chapnum>") {
        // A number in words or the user's own text shows that text; others their start value.
        const bool chapter = name == "<$chapnum>";
        const MifObject* document = mMifRoot ? mMifRoot->GetObject(kMifDocument) : nullptr;
        MifPropVal value;
        const PMString* own = document ? document->GetString(chapter ? kMifChapterNumText : kMifVolumeNumText) : nullptr;
        PMString contents;
        if (document && document->GetPropVal(chapter ? kMifChapterNumStyle : kMifVolumeNumStyle, value) &&
            (value.keyword == kMifTextStyle || value.keyword == kMifCustom) && own && !own->IsEmpty()) {
            contents = *own;
        } else {
            contents.AppendNumber(document && document->GetPropVal(chapter ? kMifChapterNumStart : kMifVolumeNumStart, value) ? value.id : 1);
        }
        info.SetBaseTypeID(kCustomTextVariableType);
        info.SetContents(contents);
    } else if (StartsWith(block, "<$paratext[")) {
        std::vector<PMString> pieces{block};
        return TranslateFormat(pieces, formatName, info);
    } else if (PMString token = GetDateToken(block); !token.IsEmpty()) {
        info.SetBaseTypeID(DateKind(formatName));
        info.SetContents(token);
    } else {
        return false;
    }
    return true;
}

std::vector<MifVariablePiece> MifVariableImporter::ImportVariable(const MifObject* mifVariable)
{
    std::vector<MifVariablePiece> pieces;
    PMString name, definition;
    if (!FindDefinition(mifVariable, name, definition)) {
        ReportMissingFormat(mifVariable, name);
        return pieces;
    }
    DataBase* db = GetDataBase();
    if (!db) {
        MIF_LOG_NIL(db);
        return pieces;
    }
    // The document's own variable of that name.
    if (TextVariableFacade::FindVariable(*db, name)) {
        pieces.push_back({MifVariablePiece::Kind::kVariable, name});
        return pieces;
    }
    // Otherwise block by block, the literals as text.
    const bool decode = KeepsEscapes();
    for (PMString& piece : GetInstancePieces(definition)) {
        if (IsLiteral(piece)) {
            pieces.push_back({MifVariablePiece::Kind::kText, std::move(piece), decode});
            continue;
        }
        if (piece.CharCount() < 2 || piece[1] != u'$') {
            // A character format's name between brackets.
            const bool closed = piece[piece.CharCount() - 1] == u'>';
            const int32 length = piece.CharCount() - (closed ? 2 : 1);
            if (length > 0) pieces.push_back({MifVariablePiece::Kind::kCharacterStyle, piece.Substring(1, length)});
            continue;
        }
        if (piece == PMString("<$curpagenum>")) {
            pieces.push_back({MifVariablePiece::Kind::kPageNumber, PMString()});
            continue;
        }
        if (!TextVariableFacade::FindVariable(*db, piece) && !AddBlockVariable(piece, name, mifVariable->line)) continue;
        pieces.push_back({MifVariablePiece::Kind::kVariable, std::move(piece)});
    }
    return pieces;
}

bool MifVariableImporter::AddBlockVariable(const PMString& block, const PMString& formatName, int32 line)
{
    DataBase* db = GetDataBase();
    AddVariableInfo info;
    if (!TranslateBlock(block, formatName, info)) {
        PMString message("Can't translate variable '");
        message.Append(formatName);
        message.Append("', unsupported building block:");
        message.Append(block);
        Report({line, message, PMString()});
        return false;
    }
    if (TextVariableFacade::AddVariable(*db, info) != kSuccess) {
        MIF_LOG_ERROR(TextVariableFacade::AddVariable);
        ErrorUtils::PMSetGlobalErrorCode(kSuccess);
        return false;
    }
    return true;
}
