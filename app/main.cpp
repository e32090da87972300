// tessel: converts FrameMaker MIF files into InDesign documents (IDML packages).
#include <cstdio>
#include <string>
#include <vector>

#include "AppSession.h"
#include "ConvertCommand.h"
#include "ParseCommand.h"
#include "PrefsCommand.h"
#include "TaskProgressBar.h"
#include "TerminalProgressRenderer.h"

namespace {

const char* kUsage =
    "usage: tessel COMMAND [ARGS]\n"
    "\n"
    "commands:\n"
    "  convert [FILE.mif] [-o OUT.idml] [--json OUT.json] [--report OUT.txt] [--preset NAME]\n"
    "                                        convert a MIF file into an InDesign document (IDML)\n"
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

    TerminalProgressRenderer progressRenderer;
    ProgressBarManager::SetRenderer(&progressRenderer);

    int status = 2;
    if (command == "convert") {
        status = RunConvertCommand(args);
        // The import only reads the preferences (which the command opened with the plug-ins).
        AppSession::DropWorkspace();
    } else if (command != "parse" && command != "prefs") {
        std::fprintf(stderr, "tessel: unknown command '%s'\n%s", command.c_str(), kUsage);
    } else if (!AppSession::LoadPlugIns()) {
        status = 1;
    } else {
        AppSession::OpenWorkspace();
        status = command == "parse" ? RunParseCommand(args) : RunPrefsCommand(args);
        if (!AppSession::CloseWorkspace() && status == 0) status = 1;
    }
    ProgressBarManager::SetRenderer(nullptr);
    return status;
}
