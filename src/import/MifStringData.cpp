#include "import/MifStringData.h"

void MifStringData::Set(const PMString& text)
{
    PreDirty();
    mText = text;
}

void MifStringData::ReadWrite(IPMStream* stream, ImplementationID)
{
    if (!stream) return;
    PMString text = mText;
    if (stream->XferString(text) && stream->IsReading()) mText = text;
}
