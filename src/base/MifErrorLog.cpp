#include "base/MifErrorLog.h"

void MifErrorLog::StartLine()
{
    if (!mText.IsEmpty()) mText.Append("\r\n");
}

void MifErrorLog::AppendDetail(const PMString& detail)
{
    if (detail.IsEmpty()) return;
    mText.Append(": ");
    mText.Append(detail);
}

void MifErrorLog::AddParseError(int32 line, const PMString& message, const PMString& detail)
{
    StartLine();
    mText.Append("Line ");
    mText.AppendNumber(line);
    mText.Append(": ");
    mText.Append(message);
    AppendDetail(detail);
}

void MifErrorLog::AddError(const PMString& message, const PMString& detail)
{
    StartLine();
    mText.Append(message);
    AppendDetail(detail);
}

PMString MifErrorLog::Message(const char* key, const PMString& p1, const PMString& p2)
{
    PMString text(key);
    text.Translate();
    StringUtils::ReplaceStringParameters(&text, p1, p2);
    return text;
}
