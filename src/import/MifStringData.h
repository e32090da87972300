// MifStringData: holds one persistent text (IMifStringData); saved as the stream's string form.
#pragma once

#include "import/IMifStringData.h"

class MifStringData : public IMifStringData {
public:
    void Set(const PMString& text) override;
    const PMString& Get() const override { return mText; }
    void ReadWrite(IPMStream* stream, ImplementationID implementation) override;

private:
    PMString mText;
};
