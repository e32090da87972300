// MifSubstData: holds one font substitution entry.
#pragma once

#include "prefs/IMifSubstData.h"

class MifSubstData : public IMifSubstData {
public:
    void Set(const MifFontKey& frameMakerFont, const MifIDFont& inDesignFont) override
    {
        mFrameMakerFont = frameMakerFont;
        mInDesignFont = inDesignFont;
    }
    const MifFontKey& GetFrameMakerFont() const override { return mFrameMakerFont; }
    const MifIDFont& GetInDesignFont() const override { return mInDesignFont; }

private:
    MifFontKey mFrameMakerFont;
    MifIDFont mInDesignFont;
};
