#include "TaskProgressBar.h"

#include <algorithm>

namespace {
TaskProgressBar* gCurrent = nullptr;
IProgressRenderer* gRenderer = nullptr;

PMString Translated(const PMString& text)
{
    PMString result(text);
    result.Translate();
    return result;
}
} // namespace

TaskProgressBar::TaskProgressBar(const PMString& title, int32 taskCount)
    : mTitle(Translated(title)), mTaskCount(std::max(taskCount, 1)), mOuter(gCurrent)
{
    gCurrent = this;
    Draw();
}

TaskProgressBar::~TaskProgressBar()
{
    gCurrent = mOuter;
    if (!gRenderer) return;
    if (mOuter)
        mOuter->Draw();
    else
        gRenderer->End();
}

void TaskProgressBar::DoTask(const PMString& text, int32 weight)
{
    mTasksDone = std::min(mTasksDone + mCurrentWeight, mTaskCount);
    mCurrentWeight = std::max(weight, 0);
    mTaskFraction = 0;
    mTaskText = Translated(text);
    Draw();
}

void TaskProgressBar::SetTaskText(const PMString& text)
{
    mTaskText = Translated(text);
    Draw();
}

void TaskProgressBar::SetTaskFraction(double fraction)
{
    mTaskFraction = std::clamp(fraction, 0.0, 1.0);
    Draw();
}

void TaskProgressBar::Draw()
{
    if (!gRenderer || gCurrent != this) return;
    double done = (mTasksDone + mCurrentWeight * mTaskFraction) / mTaskCount;
    gRenderer->Update(mTitle, mTaskText, std::clamp(done, 0.0, 1.0));
}

TaskProgressBar* ProgressBarManager::GetCurrent() { return gCurrent; }
void ProgressBarManager::SetRenderer(IProgressRenderer* renderer) { gRenderer = renderer; }
IProgressRenderer* ProgressBarManager::GetRenderer() { return gRenderer; }
