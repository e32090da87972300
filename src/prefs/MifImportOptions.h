// MifImportOptions: holds the import's copy of the preset and the page-growth and image choices
// of the Open.
#pragma once

#include "prefs/IMifImportOptions.h"

class MifImportOptions : public IMifImportOptions {
public:
    void SetPreset(const MifPresetRecord& preset) override { mPreset = preset; }
    const MifPresetRecord& GetPreset() const override { return mPreset; }
    void SetPageGrowth(bool addPages, int32 maxAddedPages) override
    {
        mAddPages = addPages;
        mMaxAddedPages = maxAddedPages < 0 ? 0 : maxAddedPages;
    }
    bool GetAddPages() const override { return mAddPages; }
    int32 GetMaxAddedPages() const override { return mMaxAddedPages; }
    void SetAllowOutsideImages(bool allow) override { mAllowOutsideImages = allow; }
    bool GetAllowOutsideImages() const override { return mAllowOutsideImages; }

private:
    MifPresetRecord mPreset;
    bool mAddPages = true;
    int32 mMaxAddedPages = 10000;
    bool mAllowOutsideImages = false;
};
