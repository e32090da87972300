// AppCommandLine: the tessel command line. Holds the top-level CLI11 app that each command adds
// itself to (its options, their help and their checks), answers --help and wrong usage, and runs
// the command chosen.
//
// A command is added by one call from main: AddConvertCommand(commandLine), say, which calls
// AddCommand with what the command runs and declares its options on the app it gets back.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

class AppCommandLine {
public:
    // What a command does once its arguments are parsed and checked; returns the exit status
    // (0 success, 1 failure, 2 wrong usage).
    using Run = std::function<int()>;
    // What a command that reads its own arguments does with them.
    using RunWithArguments = std::function<int(const std::vector<std::string>& args)>;

    AppCommandLine();

    // Adds the command `name`, which `run` runs when it is chosen. The app returned (owned by
    // this object) takes the command's options and positionals; wrong usage that CLI11 cannot
    // see is refused in its callback (CLI::App::callback, run once the whole line is parsed and
    // before `run`) by throwing CLI::ValidationError with the message alone, without the command's
    // name.
    CLI::App& AddCommand(const std::string& name, const std::string& description, Run run);
    // Adds the command `name`, which reads its arguments itself (with a CLI11 app of its own):
    // every argument after its name, --help and "--" included, goes to `run` unchanged.
    void AddCommandWithOwnArguments(const std::string& name, const std::string& description, RunWithArguments run);

    // For the callback of a command that allows extras (CLI::App::allow_extras, so that it can
    // say what is wrong with them): refuses the first argument that CLI11 left over, an unknown
    // option or, when the command has taken all its positionals, `another` (the message for one
    // positional too many), by throwing CLI::ValidationError.
    static void RefuseExtraArguments(const CLI::App& command, const std::string& another);

    // Reads the arguments after the program name. True when a command is chosen (RunCommand runs
    // it). False when the line has been answered here, with the exit status in `status`: 0 after
    // printing the help asked for on standard output, 2 after saying on standard error what is
    // wrong, with a hint to --help.
    bool Parse(std::vector<std::string> args, int& status);
    // Runs the command that Parse chose; returns its exit status.
    int RunCommand();

private:
    // Says on standard error what is wrong with the line, for `command` (null: the line as a whole).
    void ReportWrongUsage(const CLI::App* command, const std::string& message) const;

    CLI::App mApp;
    std::map<const CLI::App*, Run> mRuns;
    std::map<std::string, RunWithArguments> mOwnArgumentRuns;
    Run mChosen;
};
