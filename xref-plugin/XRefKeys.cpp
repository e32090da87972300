#include "XRefKeys.h"

namespace XRefKeys {

PMString KeyOf(const PMString& markerText)
{
    const std::u16string& text = markerText.GetUTF16();
    size_t digits = 0;
    while (digits < text.size() && text[digits] >= u'0' && text[digits] <= u'9') ++digits;
    if (digits >= 4 && digits <= 7 && digits < text.size() && text[digits] == u':') return PMString(text.substr(0, digits));
    return markerText;
}

} // namespace XRefKeys
