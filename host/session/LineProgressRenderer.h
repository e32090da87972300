// LineProgressRenderer: writes progress bars as lines that another program reads (tessel ui shows
// them on its page): "tessel-progress", the fraction done, the bar's title and the task's text,
// separated by tabs, on standard error. A line is written when a text changes or the fraction
// grew by a percent, at most every few milliseconds unless a text changed.
#pragma once

#include <chrono>
#include <string>

#include "TaskProgressBar.h"

class LineProgressRenderer : public IProgressRenderer {
public:
    void Update(const PMString& title, const PMString& taskText, double fraction) override;
    void End() override {}

private:
    std::string mTexts;
    double mFraction = -1;
    std::chrono::steady_clock::time_point mLastLine{};
};
