// MifFilePages: the pages a MIF file gives its document: its body pages (a Page without a
// PageType is one), and the blank first page of a file that starts on a left page (DParity
// FirstLeft). The import makes that many; what it adds for overflowing text comes on top.
#pragma once

#include "mif/MifKeywords.h"
#include "mif/MifObject.h"

class MifFilePages {
public:
    static int64 Count(const MifObject& mifRoot)
    {
        const MifObject* mifDocument = mifRoot.GetObject(kMifDocument);
        MifPropVal propVal;
        const bool firstLeft =
            mifDocument && mifDocument->GetPropVal(kMifDParity, propVal) && propVal.keyword == kMifFirstLeft;
        int64 bodyPages = 0;
        for (const MifObject& mifPage : mifRoot.Children(kMifPage)) {
            MifPropVal pageType;
            if (!mifPage.GetPropVal(kMifPageType, pageType) || pageType.keyword == kMifBodyPage) ++bodyPages;
        }
        return bodyPages + (firstLeft ? 1 : 0);
    }
};
