#include "catalogs/MifXRefImporter.h"

#include <cstdint>
#include <filesystem>
#include <functional>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "ErrorUtils.h"
#include "InterfacePtr.h"
#include "ObjectModel.h"

#include "base/IMifErrorLog.h"
#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"
#include "base/MifDocInterface.h"
#include "base/MifErrorLog.h"
#include "base/MifProblemReporter.h"
#include "mif/IMifFileUtils.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "mif/MifTextConverter.h"

namespace {

// The translation of a building block by its name, the tag attribute inserted by the caller.
struct BlockTranslation {
    const char* name;
    const char* open;   // written before the tag attribute
    const char* close;  // written after it
};
constexpr BlockTranslation kBlocks[] = {
    {"paratext", "<paratext", " />"},
    {"paranum", "<paranum", " />"},
    {"paranumonly", "<paranum numberonly=\"true\"", " />"},
    {"pagenum", "<pagenum />", ""},
    {"filename", "<filename />", ""},
    {"fullfilename", "<filename fullpath=\"yes\" />", ""},
    {"chapnum", "<chapnum />", ""},
};

const BlockTranslation* FindBlock(const std::u16string& name)
{
    const std::string utf8 = PMString(name).GetUTF8String();
    for (const BlockTranslation& block : kBlocks)
        if (utf8 == block.name) return &block;
    return nullptr;
}

// Reads a block's or a tag's name from `i` (just after "<$" or "<") up to the next "\" or ">",
// with the characters between "[" and "]" collected apart as the paragraph tag; a "\" right after
// the name is skipped with it, and the closing ">" too. `i` ends after what was read.
void ReadName(const std::u16string& text, size_t& i, std::u16string& name, std::u16string& tag)
{
    bool inTag = false;
    for (; i < text.size(); ++i) {
        char16_t c = text[i];
        if (!inTag && (c == u'\\' || c == u'>')) break;
        if (c == u'[') inTag = true;
        else if (c == u']') inTag = false;
        else (inTag ? tag : name).push_back(c);
    }
    if (i < text.size() && text[i] == u'\\') ++i;
    if (i < text.size() && text[i] == u'>') ++i;
}

const MifObject* AsObject(const MifProp* prop) { return prop && prop->type == kMifTypeObject ? prop->value.object : nullptr; }

// FrameMaker's number of the cross-reference marker type, which files without MTypeName give.
constexpr int32 kCrossRefMarkerType = 9;

// Whether two paths name the same file, however they are written.
bool SameFile(const IDFile& a, const IDFile& b)
{
    std::error_code ec;
    const auto canonicalA = std::filesystem::weakly_canonical(a.GetPath(), ec);
    if (ec) return a == b;
    const auto canonicalB = std::filesystem::weakly_canonical(b.GetPath(), ec);
    return ec ? a == b : canonicalA == canonicalB;
}

} // namespace

void MifXRefImporter::SetRoot(MifObject* mifRoot)
{
    mMifRoot = mifRoot;
    mMifXRefFormats = mifRoot ? mifRoot->GetObject(kMifXRefFormats) : nullptr;
    mMarkerKeys.clear();
    mReportedFormats.clear();
    mFileMarkerKeys.clear();
    mIndexed = false;
}

namespace {

// The escape at `text[at]` (a backslash) written to `out`; returns the index after it. A second
// backslash is one backslash and a backslash before a space a non-breaking space. FrameMaker
// writes its special characters as hex escapes ("page\x11 <$pagenum\>"): the hard space becomes
// the non-breaking space too, the other spaces, hyphens and the tab their characters. The
// escapes of MIF strings for tab, angle bracket and quotes give those characters; any other
// escape is dropped.
size_t TranslateEscape(const std::u16string& text, size_t at, std::u16string& out)
{
    if (at + 1 >= text.size()) return at + 1;
    const char16_t next = text[at + 1];
    switch (next) {
        case u'\\': out.push_back(u'\\'); return at + 2;
        case u' ': out += u"^s"; return at + 2;
        case u't': out.push_back(u'\t'); return at + 2;
        case u'>': out.push_back(u'>'); return at + 2;
        case u'Q': out.push_back(u'`'); return at + 2;
        case u'q': out.push_back(u'\''); return at + 2;
        default: break;
    }
    if (next != u'x') return at + 2;
    auto hexValue = [](char16_t h) -> int {
        if (h >= u'0' && h <= u'9') return h - u'0';
        if (h >= u'a' && h <= u'f') return h - u'a' + 10;
        if (h >= u'A' && h <= u'F') return h - u'A' + 10;
        return -1;
    };
    size_t i = at + 2;
    uint32_t code = 0;
    int digits = 0;
    for (; i < text.size() && digits < 2 && hexValue(text[i]) >= 0; ++i, ++digits) code = code * 16 + static_cast<uint32_t>(hexValue(text[i]));
    if (digits == 0) return at + 2;
    if (i < text.size() && text[i] == u' ') ++i;
    const UTF16TextChar special = code < 0x20 ? MifTextConverter::FrameControlChar(static_cast<uchar>(code)) : 0;
    if (special == 0x00A0) out += u"^s";
    else if (special) out.push_back(special);
    else if (code >= 0x20 && code < 0x7F) out.push_back(static_cast<char16_t>(code));
    return i;
}

} // namespace

PMString MifXRefImporter::TranslateXRefDef(const PMString& definition) const
{
    const std::u16string& text = definition.GetUTF16();
    std::u16string out;
    bool spanOpen = false;
    for (size_t i = 0; i < text.size();) {
        char16_t c = text[i];
        if (c == u'<' && i + 1 < text.size() && text[i + 1] == u'$') {
            i += 2;
            std::u16string name, tag;
            ReadName(text, i, name, tag);
            if (const BlockTranslation* block = FindBlock(name)) {
                out += PMString(block->open).GetUTF16();
                if (!tag.empty() && block->close[0] != 0) out += u" precedingpstyle=\"" + tag + u"\"";
                out += PMString(block->close).GetUTF16();
            }
        } else if (c == u'<') {
            ++i;
            std::u16string name, tag;
            ReadName(text, i, name, tag);
            if (spanOpen) out += u"</span>";
            spanOpen = false;
            if (name.empty() || name == u"/") continue;
            if (name.rfind(u"Default", 0) == 0) {
                out += u"<span cstyle=\"\">";
            } else {
                out += u"<span cstyle=\"" + name + u"\">";
                spanOpen = true;
            }
        } else if (c == u'\\') {
            i = TranslateEscape(text, i, out);
        } else {
            out.push_back(c);
            ++i;
        }
    }
    if (spanOpen) out += u"</span>";
    return PMString(out);
}

std::vector<PMString> MifXRefImporter::FindUnknownBlocks(const PMString& definition)
{
    std::vector<PMString> unknown;
    const std::u16string& text = definition.GetUTF16();
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'<' || text[i + 1] != u'$') continue;
        size_t at = i + 2;
        std::u16string name, tag;
        ReadName(text, at, name, tag);
        if (!FindBlock(name)) unknown.push_back(PMString(name));
    }
    return unknown;
}

PMString MifXRefImporter::GetSourceKey(const PMString& sourceText)
{
    const std::u16string& text = sourceText.GetUTF16();
    size_t digits = 0;
    while (digits < text.size() && text[digits] >= u'0' && text[digits] <= u'9') ++digits;
    if (digits >= 4 && digits <= 7 && digits < text.size() && text[digits] == u':') return PMString(text.substr(0, digits));
    return sourceText;
}

bool MifXRefImporter::IsCrossRefMarker(const MifObject& marker)
{
    if (const PMString* markerType = marker.GetString(kMifMTypeName)) return *markerType == PMString("Cross-Ref");
    MifPropVal number;
    return marker.GetPropVal(kMifMType, number) && number.id == kCrossRefMarkerType;
}

bool MifXRefImporter::IsThisFile(const PMString& sourceFile) const
{
    Utils<IMifFileUtils> fileUtils;
    if (!fileUtils || mSourceFile.IsEmpty()) return false;
    // The path's markers may still be escaped ("<c\\>") or already decoded ("<c>").
    return SameFile(fileUtils->ResolveDIPath(mSourceFile, sourceFile), mSourceFile) ||
           SameFile(fileUtils->ResolveDecodedDIPath(mSourceFile, sourceFile), mSourceFile);
}

void MifXRefImporter::IndexMarkers()
{
    if (mIndexed || !mMifRoot) return;
    mIndexed = true;
    // Every cross-reference marker of the file, wherever its text is (flows, cells, footnotes).
    std::function<void(const MifObject&)> visit = [&](const MifObject& object) {
        for (const MifProp* prop : object.props) {
            const MifObject* child = AsObject(prop);
            if (!child) continue;
            if (prop->id == kMifMarker) {
                const PMString* text = child->GetString(kMifMText);
                if (IsCrossRefMarker(*child) && text && !text->IsEmpty())
                    mFileMarkerKeys.insert(GetSourceKey(*text).GetUTF16());
                continue;
            }
            visit(*child);
        }
    };
    visit(*mMifRoot);
}

void MifXRefImporter::ImportXRefFormats()
{
    if (!mMifXRefFormats) return;
    DataBase* db = GetDataBase();
    if (!db) {
        MIF_LOG_NIL(db);
        return;
    }
    InterfacePtr<IXRefFormatsList> formats = MifDocInterface<IXRefFormatsList>(db);
    if (!formats) {
        MIF_LOG_NIL(formats);
        return;
    }
    const UIDList workspace(db->GetDocument()->GetRef());
    for (const MifObject& format : mMifXRefFormats->Children(kMifXRefFormat)) {
        const PMString* name = format.GetString(kMifXRefName);
        if (!name) {
            Report({format.line, MifErrorLog::Message("OV#0xB40#kMifXRefFormatWithoutNameKey"), PMString()});
            continue;
        }
        const PMString* definition = format.GetString(kMifXRefDef);
        // A format of the same name is replaced.
        if (int32 index = formats->FindFormat(*name); index >= 0) {
            auto deleteFormatCmd = XRefCommandFactory::Create(kXRefDeleteFormatCmdBoss);
            if (!deleteFormatCmd) {
                MIF_LOG_NIL(deleteFormatCmd);
                continue;
            }
            deleteFormatCmd->intData = index;
            MIF_RUN_COMMAND(deleteFormatCmd, workspace);
        }
        auto addFormatCmd = XRefCommandFactory::Create(kXRefAddFormatCmdBoss);
        if (!addFormatCmd) {
            MIF_LOG_NIL(addFormatCmd);
            continue;
        }
        addFormatCmd->formatData = {*name, definition ? TranslateXRefDef(*definition) : PMString()};
        MIF_RUN_COMMAND(addFormatCmd, workspace);
        ErrorUtils::PMSetGlobalErrorCode(kSuccess);
    }
}

const MifObject* MifXRefImporter::FindFormat(const MifObject& mifXRef)
{
    const int32 line = mifXRef.line;
    const PMString* formatName = mifXRef.GetString(kMifXRefName);
    if (!formatName) {
        MIF_LOG_NIL(formatName);
        Report({line, MifErrorLog::Message("OV#0xB40#kMifXRefWithoutNameKey"), PMString()});
        return nullptr;
    }
    const MifObject* format = mMifXRefFormats ? mMifXRefFormats->FindObjectWithString(kMifXRefName, *formatName, 256) : nullptr;
    if (!format) {
        MIF_LOG_NIL(formatName);
        PMString message("Cross-reference: no XRefFormat is named '");
        message.Append(*formatName);
        message.Append("', its text is kept");
        Report({line, message, PMString()});
        return nullptr;
    }
    if (!format->GetString(kMifXRefDef)) {
        // A format without a definition would show nothing: FrameMaker's text says more.
        MIF_LOG_NIL(format->GetString(kMifXRefDef));
        Report({line, MifErrorLog::Message("OV#0xB40#kMifXRefFormatWithoutDefKey", *formatName), PMString()});
        return nullptr;
    }
    return format;
}

// A reference into another file, or to a marker this file lacks, would point nowhere: the text
// FrameMaker wrote for it is the best it can show.
bool MifXRefImporter::HasTarget(const MifObject& mifXRef, const PMString& sourceText, const PMString& key)
{
    const PMString* sourceFile = mifXRef.GetString(kMifXRefSrcFile);
    if (sourceFile && !sourceFile->IsEmpty() && !IsThisFile(*sourceFile)) {
        Report({mifXRef.line, "Cross-reference: its target is in another file, its text is kept", PMString()});
        return false;
    }
    IndexMarkers();
    if (!mFileMarkerKeys.count(key.GetUTF16())) {
        PMString message("Cross-reference: no Cross-Ref marker has the text '");
        message.Append(sourceText);
        message.Append("', its text is kept");
        Report({mifXRef.line, message, PMString()});
        return false;
    }
    return true;
}

void MifXRefImporter::ReportUnknownBlocks(const MifObject& format, const PMString& formatName, const PMString& definition)
{
    if (!mReportedFormats.insert(formatName.GetUTF16()).second) return;
    for (const PMString& block : FindUnknownBlocks(definition)) {
        PMString message("Cross-reference format '");
        message.Append(formatName);
        message.Append("': unsupported building block <$");
        message.Append(block);
        message.Append(">, left out");
        Report({format.line, message, PMString()});
    }
}

std::optional<MifXRefInstance> MifXRefImporter::ImportXRef(const MifObject* mifXRef)
{
    if (!mifXRef) {
        MIF_LOG_NIL(mifXRef);
        return std::nullopt;
    }
    const MifObject* format = FindFormat(*mifXRef);
    if (!format) return std::nullopt;
    const PMString* sourceText = mifXRef->GetString(kMifXRefSrcText);
    if (!sourceText || sourceText->IsEmpty()) {
        MIF_LOG_NIL(sourceText);
        Report({mifXRef->line, "Cross-reference: an XRef without XRefSrcText, its text is kept", PMString()});
        return std::nullopt;
    }
    const PMString key = GetSourceKey(*sourceText);
    if (!HasTarget(*mifXRef, *sourceText, key)) return std::nullopt;
    const PMString& formatName = *mifXRef->GetString(kMifXRefName);
    const PMString& definition = *format->GetString(kMifXRefDef);
    MifXRefInstance instance{formatName, TranslateXRefDef(definition), key};
    ReportUnknownBlocks(*format, formatName, definition);
    return instance;
}

const PMString* MifXRefImporter::ImportSourceMarker(const MifObject* marker)
{
    if (!marker) {
        MIF_LOG_NIL(marker);
        return nullptr;
    }
    if (!IsCrossRefMarker(*marker)) return nullptr;  // other markers are the content importer's
    const PMString* markerText = marker->GetString(kMifMText);
    if (!markerText || markerText->IsEmpty()) {
        MIF_LOG_NIL(markerText);
        Report({marker->line, "Cross-reference marker without MText, passed over", PMString()});
        return nullptr;
    }
    if (!mMarkerKeys.insert(GetSourceKey(*markerText).GetUTF16()).second) {
        PMString message("Cross-reference marker '");
        message.Append(*markerText);
        message.Append("' appears again; cross-references point at the first");
        Report({marker->line, message, PMString()});
    }
    return markerText;
}
