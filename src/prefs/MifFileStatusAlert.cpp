#include "prefs/MifFileStatusAlert.h"

PMString MifFileStatusAlert::GetMessage(MifFileStatus status, const IDFile& file)
{
    const char* key = nullptr;
    switch (status) {
    case MifFileStatus::kCantOpen: key = "OV#0xB40#kMifCantOpenFileKey"; break;
    case MifFileStatus::kCantSave: key = "OV#0xB40#kMifCantSaveFileKey"; break;
    case MifFileStatus::kNotPresetFile: key = "OV#0xB40#kMifFileIsInvalidKey"; break;
    case MifFileStatus::kNotMif: key = "OV#0xB40#kMifFileIsNotMifKey"; break;
    case MifFileStatus::kDone:
    case MifFileStatus::kUnknownVersion: return PMString();
    }
    if (!key) return PMString();
    PMString message(key);
    message.Translate();
    StringUtils::ReplaceStringParameters(&message, file.GetPathString());
    message.SetTranslated();
    return message;
}
