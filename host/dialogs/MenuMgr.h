// MenuMgr: the host's menus as data: the entries plug-ins add (a menu path, a name, a position,
// the action it runs) and the actions behind them. A presenter draws the menus; choosing an entry
// runs its action.
//
// Paths name the menus from the main menu down, with the separator ':' ("Main:&Edit:Preferences");
// positions order the entries of one menu (smaller first).
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "PMString.h"
#include "PMTypes.h"

using ActionID = uint32;

struct MenuEntry {
    PMString menuPath;    // "Main:&Edit:Preferences"
    PMString name;        // translated; empty for a separator
    double position = 0;  // order within the menu
    ActionID action = 0;  // 0 for a separator
    bool separator = false;
};

class MenuMgr {
public:
    static MenuMgr& Get();

    // Adds an entry that runs `action` (replacing the entry of that action, if any); `name` is a
    // string key or text.
    void AddMenuItem(const PMString& menuPath, const PMString& name, double position, ActionID action);
    // Adds a separator (once for a menu and position).
    void AddSeparator(const PMString& menuPath, double position);
    // Removes every entry and the action of `action` (a plug-in that unloads).
    void RemoveAction(ActionID action);
    // What an action does; whether it is enabled is asked each time the menu is shown.
    void RegisterAction(ActionID action, std::function<void()> run, std::function<bool()> enabled = {});

    // Every entry, grouped by menu path and in position order within a menu.
    std::vector<MenuEntry> GetEntries() const;
    bool IsEnabled(ActionID action) const;
    // Runs the action of a menu entry; false when no action is registered or it is disabled.
    bool DoAction(ActionID action) const;

private:
    struct Action {
        std::function<void()> run;
        std::function<bool()> enabled;
    };
    std::vector<MenuEntry> mEntries;
    std::map<ActionID, Action> mActions;
};
