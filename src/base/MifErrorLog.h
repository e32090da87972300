// MifErrorLog: the error log as one text.
#pragma once

#include "base/IMifErrorLog.h"

class MifErrorLog : public IMifErrorLog {
public:
    void AddParseError(int32 line, const PMString& message, const PMString& detail) override;
    void AddError(const PMString& message, const PMString& detail) override;
    bool IsEmpty() const override { return mText.IsEmpty(); }
    PMString GetText() const override { return mText; }
    void Clear() override { mText.Clear(); }

    // The text of the string-table key `key` with ^1 and ^2 replaced, as a message to add.
    static PMString Message(const char* key, const PMString& p1 = PMString(), const PMString& p2 = PMString());

private:
    void StartLine();
    void AppendDetail(const PMString& detail);

    PMString mText;
};
