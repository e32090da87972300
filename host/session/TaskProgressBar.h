// TaskProgressBar: the progress of a long operation, made of a number of tasks, each with a text.
//
// A bar shows while its object lives; bars nest, and the innermost one is the current one that
// code deep inside an operation reaches through ProgressBarManager. How a bar is drawn is up to
// the renderer that the application installs; with none, bars draw nothing.
#pragma once

#include "PMString.h"

class IProgressRenderer {
public:
    virtual ~IProgressRenderer() = default;
    // Called whenever the title, the task text or the fraction done (0..1) changes.
    virtual void Update(const PMString& title, const PMString& taskText, double fraction) = 0;
    // Called when the last bar ends.
    virtual void End() = 0;
};

class TaskProgressBar {
public:
    // A bar titled `title` (a string key or text) for `taskCount` tasks.
    TaskProgressBar(const PMString& title, int32 taskCount);
    ~TaskProgressBar();
    TaskProgressBar(const TaskProgressBar&) = delete;
    TaskProgressBar& operator=(const TaskProgressBar&) = delete;

    // Starts a task of `weight` tasks' worth, shown with `text` (translated).
    void DoTask(const PMString& text, int32 weight = 1);
    // Changes the text of the current task (translated).
    void SetTaskText(const PMString& text);
    // Sets the part of the current task that is done, 0..1.
    void SetTaskFraction(double fraction);

    const PMString& GetTaskText() const { return mTaskText; }

private:
    void Draw();

    PMString mTitle;
    PMString mTaskText;
    int32 mTaskCount;
    int32 mTasksDone = 0;   // tasks finished before the current one
    int32 mCurrentWeight = 0;
    double mTaskFraction = 0;
    TaskProgressBar* mOuter = nullptr;
};

namespace ProgressBarManager {
// The innermost live progress bar; null when none is showing.
TaskProgressBar* GetCurrent();
// Installs the renderer that draws bars (null for none); the caller keeps ownership.
void SetRenderer(IProgressRenderer* renderer);
IProgressRenderer* GetRenderer();
}
