// tessel: converts FrameMaker MIF files into InDesign documents (IDML packages).
#include <cstdio>
#include <string>
#include <vector>

#include "MifRegistration.h"
#include "ParseCommand.h"
#include "PrefsCommand.h"
#include "Session.h"
#include "TaskProgressBar.h"
#include "TerminalProgressRenderer.h"

namespace {

const char* kUsage =
    "usage: tessel COMMAND [ARGS]\n"
    "\n"
    "commands:\n"
    "  parse FILE.mif [--errors] [--stats]   print the statement tree and the parse errors of a MIF file\n"
    "  prefs list | show [NAME]              list the conversion presets, or show one with its tables\n"
    "  help                                  show this text\n";

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::string command = args.front();
    args.erase(args.begin());
    if (command == "help" || command == "-h" || command == "--help") {
        std::fputs(kUsage, stdout);
        return 0;
    }

    RegisterTesselPlugIn();
    // The preferences of the last session; what cannot be read keeps its defaults.
    PMString problem;
    if (Session::OpenWorkspace(Session::GetWorkspaceFile(), problem) != kSuccess)
        std::fprintf(stderr, "tessel: %s\n", problem.GetUTF8String().c_str());
    TerminalProgressRenderer progressRenderer;
    ProgressBarManager::SetRenderer(&progressRenderer);

    int status = 2;
    if (command == "parse")
        status = RunParseCommand(args);
    else if (command == "prefs")
        status = RunPrefsCommand(args);
    else
        std::fprintf(stderr, "tessel: unknown command '%s'\n%s", command.c_str(), kUsage);
    ProgressBarManager::SetRenderer(nullptr);

    // Only changed preferences are written, so a file that could not be read stays as it is.
    if (Session::SaveWorkspace(problem) != kSuccess) {
        std::fprintf(stderr, "tessel: %s\n", problem.GetUTF8String().c_str());
        if (status == 0) status = 1;
    }
    Session::CloseWorkspace();
    return status;
}
