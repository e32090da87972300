#include "Story.h"

PMString Story::GetPrimaryText() const
{
    int32 length = textModel.GetThreadRange(0).length;
    return PMString(textModel.GetText(0, length - 1));
}
