#include "layout/MifPageItemUtils.h"

#include <memory>

#include "CmdUtils.h"
#include "DataBase.h"
#include "ErrorUtils.h"
#include "PageItem.h"
#include "PageItemCommands.h"

#include "base/MifAssertLog.h"

namespace {

// Runs `command` on `item`; a refusal is logged under the command's name, and the global error
// code is cleared so that the import goes on.
template <class Cmd>
ErrorCode Run(const std::shared_ptr<Cmd>& command, const UIDRef& item, const char* name)
{
    command->SetItemList(UIDList(item));
    ErrorCode result = CmdUtils::ProcessCommand(command);
    if (result != kSuccess) MifAssertLog::Write(__FILE__, __LINE__, name, MifAssertLog::kFailed);
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
    return result;
}

const PageItem* ItemOf(const UIDRef& item)
{
    DataBase* db = item.GetDataBase();
    return db ? db->Get<PageItem>(item.GetUID()) : nullptr;
}

} // namespace

ErrorCode MifPageItemUtils::SetIgnoreWrap(const UIDRef& item, bool ignore) const
{
    auto setIgnoreWrapCmd = std::make_shared<SetIgnoreWrapCmd>();
    setIgnoreWrapCmd->boolData = ignore;
    return Run(setIgnoreWrapCmd, item, "setIgnoreWrapCmd");
}

ErrorCode MifPageItemUtils::SetWrapMode(const UIDRef& item, TextWrapMode mode) const
{
    auto standOffModeCmd = std::make_shared<StandOffModeCmd>();
    standOffModeCmd->mode = mode;
    return Run(standOffModeCmd, item, "standOffModeCmd");
}

ErrorCode MifPageItemUtils::SetWrapMargins(const UIDRef& item, PMReal left, PMReal top, PMReal right, PMReal bottom) const
{
    auto standOffMarginCmd = std::make_shared<StandOffMarginCmd>();
    standOffMarginCmd->margins = PMRect(left, top, right, bottom);
    return Run(standOffMarginCmd, item, "standOffMarginCmd");
}

ErrorCode MifPageItemUtils::SetWrapForm(const UIDRef& item, TextWrapForm form) const
{
    auto standOffFormCmd = std::make_shared<StandOffFormCmd>();
    standOffFormCmd->form = form;
    return Run(standOffFormCmd, item, "standOffFormCmd");
}

ErrorCode MifPageItemUtils::SetWidth(const UIDRef& item, PMReal width) const
{
    auto resizeCmd = std::make_shared<ResizePageItemCmd>();
    resizeCmd->width = width;
    return Run(resizeCmd, item, "resizeCmd");
}

ErrorCode MifPageItemUtils::SetHeight(const UIDRef& item, PMReal height) const
{
    auto resizeCmd = std::make_shared<ResizePageItemCmd>();
    resizeCmd->height = height;
    return Run(resizeCmd, item, "resizeCmd");
}

PMReal MifPageItemUtils::GetWidth(const UIDRef& item) const
{
    const PageItem* pageItem = ItemOf(item);
    return pageItem ? pageItem->pathBounds.Width() : 0;
}

PMReal MifPageItemUtils::GetHeight(const UIDRef& item) const
{
    const PageItem* pageItem = ItemOf(item);
    return pageItem ? pageItem->pathBounds.Height() : 0;
}

PMRect MifPageItemUtils::GetBounds(const UIDRef& item) const
{
    const PageItem* pageItem = ItemOf(item);
    return pageItem ? pageItem->GetBoundsInSpread() : PMRect();
}
