// TerminalProgressRenderer: draws progress bars on one line of standard error, and nothing at all
// when standard error is not a terminal (so logs and pipes stay clean).
#pragma once

#include <chrono>
#include <string>

#include "TaskProgressBar.h"

class TerminalProgressRenderer : public IProgressRenderer {
public:
    // `enabled` forces drawing on or off; by default it draws only on a terminal.
    TerminalProgressRenderer();
    explicit TerminalProgressRenderer(bool enabled) : mEnabled(enabled) {}

    void Update(const PMString& title, const PMString& taskText, double fraction) override;
    void End() override;

private:
    bool mEnabled;
    bool mDrawn = false;
    std::string mLastLine;
    std::chrono::steady_clock::time_point mLastDraw{};
};
