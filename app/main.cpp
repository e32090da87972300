// tessel: converts FrameMaker MIF files into InDesign documents (IDML packages).
#include <string>
#include <vector>

#include "AppCommandLine.h"
#include "AppSession.h"
#include "BatchCommand.h"
#include "ConvertCommand.h"
#include "ParseCommand.h"
#include "PrefsCommand.h"
#include "TaskProgressBar.h"
#include "TerminalProgressRenderer.h"
#include "UiCommand.h"

int main(int argc, char** argv)
{
    AppCommandLine commandLine;
    AddConvertCommand(commandLine);
    AddParseCommand(commandLine);
    AddBatchCommand(commandLine);
    AddUiCommand(commandLine);
    // The preferences command reads its arguments itself, its help included.
    commandLine.AddCommandWithOwnArguments("prefs", "Show and change the conversion presets, their font tables and their files",
                                           [](const std::vector<std::string>& args) {
                                               return AppSession::RunInWorkspace([&] { return RunPrefsCommand(args); });
                                           });

    int status = 0;
    if (!commandLine.Parse(std::vector<std::string>(argv + 1, argv + argc), status)) return status;
    TerminalProgressRenderer progressRenderer;
    ProgressBarManager::SetRenderer(&progressRenderer);
    status = commandLine.RunCommand();
    ProgressBarManager::SetRenderer(nullptr);
    return status;
}
