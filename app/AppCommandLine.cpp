#include "AppCommandLine.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kWrongUsage = 2;

} // namespace

AppCommandLine::AppCommandLine()
    : mApp("tessel converts FrameMaker MIF files into InDesign documents (IDML packages).", "tessel")
{
    // The commands take the help flag and the formatter over as they are added.
    mApp.set_help_flag("-h,--help", "Show this help and exit");
    auto formatter = mApp.get_formatter();
    formatter->column_width(30);
    formatter->label("SUBCOMMAND", "COMMAND");
    formatter->label("Positionals", "Arguments");
    mApp.require_subcommand(1);
    mApp.footer("tessel COMMAND --help (or tessel help COMMAND) lists the options of a command.");
}

CLI::App& AppCommandLine::AddCommand(const std::string& name, const std::string& description, Run run)
{
    CLI::App* command = mApp.add_subcommand(name, description);
    command->group("Commands");
    // A command takes over the footer and the count of commands of the whole line: neither is its own.
    command->footer("");
    command->require_subcommand(0);
    mRuns[command] = std::move(run);
    return *command;
}

void AppCommandLine::AddCommandWithOwnArguments(const std::string& name, const std::string& description, RunWithArguments run)
{
    // Listed in the help like any command. Parse hands its arguments over before CLI11 reads the
    // line, since CLI11 would take "--" for itself; prefix_command and no help flag would pass
    // the others through as they are.
    CLI::App* command = mApp.add_subcommand(name, description);
    command->group("Commands");
    command->footer("");
    command->require_subcommand(0);
    command->prefix_command();
    command->set_help_flag();
    mOwnArgumentRuns[name] = std::move(run);
}

bool AppCommandLine::Parse(std::vector<std::string> args, int& status)
{
    status = kWrongUsage;
    if (args.empty()) {
        // A line that asks for nothing gets the help, as wrong usage.
        std::fputs(mApp.help().c_str(), stderr);
        return false;
    }
    // "tessel help [COMMAND]" is "tessel [COMMAND] --help".
    if (args.front() == "help") {
        args.erase(args.begin());
        args.push_back("--help");
    }
    const std::string& first = args.front();
    if (auto own = mOwnArgumentRuns.find(first); own != mOwnArgumentRuns.end()) {
        mChosen = [run = own->second, rest = std::vector<std::string>(args.begin() + 1, args.end())] { return run(rest); };
        return true;
    }
    // The line starts with the command or with an option of the whole line (--help).
    bool option = !first.empty() && first[0] == '-';
    bool known = option ? mApp.get_option_no_throw(first) != nullptr
                        : !mApp.get_subcommands([&](CLI::App* command) { return command->get_name() == first; }).empty();
    if (!known) {
        ReportWrongUsage(nullptr, (option ? "unknown option " + first : "unknown command '" + first + "'"));
        return false;
    }

    std::reverse(args.begin(), args.end());  // CLI11 reads the vector from its end
    try {
        mApp.parse(args);
    } catch (const CLI::CallForHelp&) {
        // The help of the command chosen, or of the whole line.
        std::fputs(mApp.help().c_str(), stdout);
        status = 0;
        return false;
    } catch (const CLI::ParseError& error) {
        std::vector<CLI::App*> chosen = mApp.get_subcommands();
        ReportWrongUsage(chosen.empty() ? nullptr : chosen.front(), error.what());
        return false;
    }
    // require_subcommand(1) has made sure that there is one.
    mChosen = mRuns[mApp.get_subcommands().front()];
    return true;
}

void AppCommandLine::RefuseExtraArguments(const CLI::App& command, const std::string& another)
{
    for (const std::string& extra : command.remaining()) {
        // CLI11 keeps the mark that ends the options ("--") among them.
        if (extra == "--") continue;
        throw CLI::ValidationError(!extra.empty() && extra[0] == '-' ? "unknown option " + extra : another);
    }
}

int AppCommandLine::RunCommand() { return mChosen ? mChosen() : kWrongUsage; }

void AppCommandLine::ReportWrongUsage(const CLI::App* command, const std::string& message) const
{
    std::string name = command ? "tessel " + command->get_name() : "tessel";
    std::fprintf(stderr, "%s: %s\nRun '%s --help' for %s.\n", name.c_str(), message.c_str(), name.c_str(),
                 command ? "its options" : "the commands");
}
