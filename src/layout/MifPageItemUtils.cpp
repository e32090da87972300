#include "layout/MifPageItemUtils.h"

#include <memory>

#include "DataBase.h"
#include "ErrorUtils.h"
#include "PageItem.h"
#include "PageItemCommands.h"

#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"

namespace {

// The result of a command that ran (its refusal logged by the runner), with the global error
// code cleared so that the import goes on.
ErrorCode Done(ErrorCode result)
{
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
    return Done(MIF_PROCESS_COMMAND(setIgnoreWrapCmd, UIDList(item)));
}

ErrorCode MifPageItemUtils::SetWrapMode(const UIDRef& item, TextWrapMode mode) const
{
    auto standOffModeCmd = std::make_shared<StandOffModeCmd>();
    standOffModeCmd->mode = mode;
    return Done(MIF_PROCESS_COMMAND(standOffModeCmd, UIDList(item)));
}

ErrorCode MifPageItemUtils::SetWrapMargins(const UIDRef& item, PMReal left, PMReal top, PMReal right, PMReal bottom) const
{
    auto standOffMarginCmd = std::make_shared<StandOffMarginCmd>();
    standOffMarginCmd->margins = PMRect(left, top, right, bottom);
    return Done(MIF_PROCESS_COMMAND(standOffMarginCmd, UIDList(item)));
}

ErrorCode MifPageItemUtils::SetWrapForm(const UIDRef& item, TextWrapForm form) const
{
    auto standOffFormCmd = std::make_shared<StandOffFormCmd>();
    standOffFormCmd->form = form;
    return Done(MIF_PROCESS_COMMAND(standOffFormCmd, UIDList(item)));
}

ErrorCode MifPageItemUtils::SetWidth(const UIDRef& item, PMReal width) const
{
    auto resizeCmd = std::make_shared<ResizePageItemCmd>();
    resizeCmd->width = width;
    return Done(MIF_PROCESS_COMMAND(resizeCmd, UIDList(item)));
}

ErrorCode MifPageItemUtils::SetHeight(const UIDRef& item, PMReal height) const
{
    auto resizeCmd = std::make_shared<ResizePageItemCmd>();
    resizeCmd->height = height;
    return Done(MIF_PROCESS_COMMAND(resizeCmd, UIDList(item)));
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
