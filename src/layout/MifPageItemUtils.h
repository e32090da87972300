// MifPageItemUtils: page item changes through the host's commands (text wrap, size). Stateless;
// reached with Utils<IMifPageItemUtils>().
#pragma once

#include "layout/IMifPageItemUtils.h"

class MifPageItemUtils : public IMifPageItemUtils {
public:
    ErrorCode SetIgnoreWrap(const UIDRef& item, bool ignore) const override;
    ErrorCode SetWrapMode(const UIDRef& item, TextWrapMode mode) const override;
    ErrorCode SetWrapMargins(const UIDRef& item, PMReal left, PMReal top, PMReal right, PMReal bottom) const override;
    ErrorCode SetWrapForm(const UIDRef& item, TextWrapForm form) const override;
    ErrorCode SetWidth(const UIDRef& item, PMReal width) const override;
    PMReal GetWidth(const UIDRef& item) const override;
    ErrorCode SetHeight(const UIDRef& item, PMReal height) const override;
    PMReal GetHeight(const UIDRef& item) const override;
    PMRect GetBounds(const UIDRef& item) const override;
};
