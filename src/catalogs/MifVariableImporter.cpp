#include "MifVariableImporter.h"

#include "DataBase.h"
#include "Document.h"
#include "IMifContentImporter.h"
#include "IMifLayoutImporter.h"
#include "InterfacePtr.h"
#include "MifAssertLog.h"
#include "MifKeywords.h"
#include "MifObject.h"

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

} // namespace

void MifVariableImporter::SetRoot(MifObject* mifRoot)
{
    mMifRoot = mifRoot;
    mMifVariableFormats = mifRoot ? mifRoot->GetObject(kMifVariableFormats) : nullptr;
}

bool MifVariableImporter::GetBlockText(const PMString& block, const std::tm& now, PMString& text)
{
    const std::string name = block.GetUTF8String();
    const int hour = now.tm_hour;
    if (name == "<$curpagenum>") {
        text = PMString(std::u16string(1, u'\x18'));
    } else if (name == "<$lastpagenum>") {
        DataBase* db = GetDataBase();
        InterfacePtr<IMifLayoutImporter> layoutImporter(this, IID_IMIFLAYOUTIMPORTER);
        int32 pages = db && db->GetDocument() ? db->GetDocument()->GetPageCount() : 0;
        text = Number(pages - (layoutImporter ? layoutImporter->GetTemporaryPageCount() : 0));
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

std::vector<MifVariableImporter::TextPiece> MifVariableImporter::GetTextPieces(const PMString& definition, const std::tm& now)
{
    std::vector<TextPiece> pieces;
    PMString piece;
    auto close = [&]() {
        if (piece.IsEmpty()) return;
        PMString text;
        if (piece[0] == u'<' && GetBlockText(piece, now, text))
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

void MifVariableImporter::ConvertVariableToText(const MifObject* mifVariable)
{
    if (!mifVariable) {
        MIF_LOG_NIL(mifVariable);
        return;
    }
    const MifProp* name = mifVariable->FindProp(kMifVariableName);
    if (!name || !MifIsStringType(name->type) || !name->value.rawString) {
        MIF_LOG_NIL(name);
        return;
    }
    if (!mMifVariableFormats) {
        MIF_LOG_NIL(mMifVariableFormats);
        return;
    }
    // Anywhere in the formats (depth: as deep as any MIF file nests statements).
    const MifObject* mifVariableFormat = mMifVariableFormats->FindObjectWithString(kMifVariableName, *name->value.rawString, 256);
    const MifProp* definition = mifVariableFormat ? mifVariableFormat->FindProp(kMifVariableDef) : nullptr;
    if (!definition || !MifIsStringType(definition->type) || !definition->value.rawString) {
        MIF_LOG_NIL(mifVariableFormat);
        return;
    }
    InterfacePtr<IMifContentImporter> contentImporter(this, IID_IMIFCONTENTIMPORTER);
    if (!contentImporter) {
        MIF_LOG_NIL(contentImporter);
        return;
    }
    std::time_t clock = std::time(nullptr);
    std::tm now{};
    localtime_r(&clock, &now);
    // Strings of MIF 8 and later keep their escapes until they are inserted; older ones were
    // decoded as they were read.
    MifPropVal version;
    bool decode = mMifRoot && mMifRoot->GetPropVal(kMifMIFFile, version) && version.number >= 8.0;
    for (const TextPiece& piece : GetTextPieces(*definition->value.rawString, now)) {
        const PMString& text = piece.text;
        if (piece.replaced) {
            contentImporter->InsertText(text, false);
        } else if (text[0] == u'<') {
            // A character format's name between brackets; blocks without a text end here too.
            bool closed = text[text.CharCount() - 1] == u'>';
            int32 nameLength = text.CharCount() - (closed ? 2 : 1);
            if (nameLength > 0 && text[1] != u'$') contentImporter->ApplyCharacterStyle(text.Substring(1, nameLength));
        } else {
            contentImporter->InsertText(text, decode);
        }
    }
}
