#include "MenuMgr.h"

#include <algorithm>

MenuMgr& MenuMgr::Get()
{
    static MenuMgr manager;
    return manager;
}

void MenuMgr::AddMenuItem(const PMString& menuPath, const PMString& name, double position, ActionID action)
{
    PMString translated(name);
    translated.Translate();
    // A plug-in that registers again replaces its entry.
    mEntries.erase(std::remove_if(mEntries.begin(), mEntries.end(),
                                  [&](const MenuEntry& e) { return !e.separator && e.action == action; }),
                   mEntries.end());
    mEntries.push_back(MenuEntry{menuPath, translated, position, action, false});
}

void MenuMgr::AddSeparator(const PMString& menuPath, double position)
{
    for (const MenuEntry& e : mEntries)
        if (e.separator && e.menuPath == menuPath && e.position == position) return;
    mEntries.push_back(MenuEntry{menuPath, PMString(), position, 0, true});
}

void MenuMgr::RemoveAction(ActionID action)
{
    mEntries.erase(std::remove_if(mEntries.begin(), mEntries.end(),
                                  [&](const MenuEntry& e) { return !e.separator && e.action == action; }),
                   mEntries.end());
    mActions.erase(action);
}

void MenuMgr::RegisterAction(ActionID action, std::function<void()> run, std::function<bool()> enabled)
{
    mActions[action] = Action{std::move(run), std::move(enabled)};
}

std::vector<MenuEntry> MenuMgr::GetEntries() const
{
    std::vector<MenuEntry> entries = mEntries;
    std::stable_sort(entries.begin(), entries.end(), [](const MenuEntry& a, const MenuEntry& b) {
        if (!(a.menuPath == b.menuPath)) return a.menuPath < b.menuPath;
        return a.position < b.position;
    });
    return entries;
}

bool MenuMgr::IsEnabled(ActionID action) const
{
    auto found = mActions.find(action);
    if (found == mActions.end() || !found->second.run) return false;
    return !found->second.enabled || found->second.enabled();
}

bool MenuMgr::DoAction(ActionID action) const
{
    if (!IsEnabled(action)) return false;
    // A copy, so that an action may change the registrations while it runs.
    std::function<void()> run = mActions.at(action).run;
    run();
    return true;
}
