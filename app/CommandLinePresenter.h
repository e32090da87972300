// CommandLinePresenter: shows the host's dialogs to a user of the tessel command. A command acts
// in a dialog for the user (the scripts it queues); every alert the dialogs show is printed on
// standard error, so that the user reads the dialogs' own messages, and a warning or error alert
// marks the command as refused.
#pragma once

#include <string>

#include "ScriptedPresenter.h"

class CommandLinePresenter : public ScriptedPresenter {
public:
    // `prefix` starts every line printed ("tessel prefs").
    explicit CommandLinePresenter(std::string prefix);

    // Whether a dialog refused what the command asked (it showed a warning or an error).
    bool WasRefused() const { return mRefused; }

private:
    std::string mPrefix;
    bool mRefused = false;
};
