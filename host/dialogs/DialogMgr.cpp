#include "DialogMgr.h"

DialogMgr& DialogMgr::Get()
{
    static DialogMgr manager;
    return manager;
}

void DialogMgr::RegisterDialog(uint32 resourceID, Resource resource) { mResources[resourceID] = std::move(resource); }

void DialogMgr::UnregisterDialog(uint32 resourceID) { mResources.erase(resourceID); }

std::unique_ptr<Dialog> DialogMgr::CreateNewDialog(uint32 resourceID) const
{
    auto found = mResources.find(resourceID);
    if (found == mResources.end()) return nullptr;
    auto dialog = std::make_unique<Dialog>(resourceID);
    found->second(*dialog);
    return dialog;
}
