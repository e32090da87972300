#include "prefs/MifFontHints.h"

#include <memory>
#include <string>

#include "InterfacePtr.h"
#include "IPMStream.h"
#include "ObjectModel.h"
#include "TaskProgressBar.h"

#include "base/MifAssertLog.h"
#include "mif/IMifParser.h"
#include "mif/MifFileHead.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"

void MifFontHints::AddFromFiles(const std::vector<IDFile>& files,
                                const std::function<void(MifFileStatus, const IDFile&)>& report)
{
    if (files.empty()) return;
    TaskProgressBar progress("OV#0xB40#kMifAnalysingMifFileKey", static_cast<int32>(files.size()));
    for (const IDFile& file : files) {
        PMString name = file.GetFileName();
        name.SetTranslated();
        progress.DoTask(name);
        MifFileStatus status = AddFromFile(file);
        if (status != MifFileStatus::kDone && report) report(status, file);
    }
}

MifFileStatus MifFontHints::AddFromFile(const IDFile& file)
{
    std::unique_ptr<IPMStream> stream = StreamUtil::CreateFileStreamRead(file);
    if (!stream) return MifFileStatus::kCantOpen;
    std::string head;
    if (!MifFileHead::Read(*stream, head) || !MifFileHead::IsMif(head)) return MifFileStatus::kNotMif;
    stream->Seek(0, IPMStream::kSeekFromStart);

    InterfacePtr<IMifParser> mifParser(CreateObject2<IMifParser>(kMifParserBoss));
    if (!mifParser) {
        MIF_LOG_NIL(mifParser);
        return MifFileStatus::kCantOpen;
    }
    mifParser->Scan(stream.get(), *this);
    return MifFileStatus::kDone;
}

void MifFontHints::Clear()
{
    mFamilies.clear();
    mAngles.clear();
    mWeights.clear();
    mVariations.clear();
}

bool MifFontHints::Visit(const MifObject& body, const MifProp& statement)
{
    if (body.id != kMifFont && body.id != kMifPgfFont) return false;
    if (!MifIsStringType(statement.type) || !statement.value.rawString) return false;
    std::set<PMString>* hints = nullptr;
    switch (statement.id) {
    case kMifFFamily: hints = &mFamilies; break;
    case kMifFAngle: hints = &mAngles; break;
    case kMifFWeight: hints = &mWeights; break;
    case kMifFVar: hints = &mVariations; break;
    default: return false;
    }
    PMString value = *statement.value.rawString;
    if (value.IsEmpty() || value.CharCount() > kMaxHintLength) return false;
    value.SetTranslated();  // a font name, never a string key
    hints->insert(std::move(value));
    return false;
}
