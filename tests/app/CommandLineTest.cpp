// The tessel command line, run as a user runs it: the help of the whole line and of each command
// lists everything there is, and wrong usage exits with 2, says what is wrong on standard error
// with a hint to --help, and prints nothing on standard output.
#include <gtest/gtest.h>

#include "TestUtils.h"

#include "app/TesselRun.h"

namespace {

using Strings = std::vector<std::string>;

const std::string kSample = TESSEL_SOURCE_DIR "/samples/sample.mif";

// The names that `help` lacks, each followed by a space (a value or its description).
Strings Missing(const std::string& help, const Strings& names)
{
    Strings missing;
    for (const std::string& name : names)
        if (help.find(name + " ") == std::string::npos) missing.push_back(name);
    return missing;
}

} // namespace

TEST(CommandLine, Help_ListsEveryCommandAndOption)
{
    TempFolder config("cli-help");
    TesselRun help = Tessel(config.Path(), "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(Missing(help.out, {"convert", "parse", "prefs", "-h,--help"}), Strings{}) << help.out;
    EXPECT_EQ(Tessel(config.Path(), "help").out, help.out);
    EXPECT_EQ(Tessel(config.Path(), "-h").out, help.out);

    TesselRun convert = Tessel(config.Path(), "convert --help");
    EXPECT_EQ(convert.status, 0);
    EXPECT_EQ(convert.err, "");
    EXPECT_NE(convert.out.find("Usage: tessel convert [OPTIONS] [FILE.mif]"), std::string::npos) << convert.out;
    EXPECT_EQ(Missing(convert.out, {"FILE.mif", "-h,--help", "-o,--output OUT.idml", "--json OUT.json", "--report OUT.txt",
                                    "--preset NAME", "--pdf PREVIEW.pdf", "--png FOLDER", "--dpi N", "--frames",
                                    "--max-pages N", "--no-add-pages", "--images DIR", "--allow-outside-images"}),
              Strings{})
        << convert.out;
    // The notes stay below the options.
    EXPECT_NE(convert.out.find("With no file, converts the sample"), std::string::npos) << convert.out;
    EXPECT_EQ(Tessel(config.Path(), "help convert").out, convert.out);
    // The help is what a line asks for, whatever else it holds.
    EXPECT_EQ(Tessel(config.Path(), "convert --frames --bogus -h").out, convert.out);

    TesselRun parse = Tessel(config.Path(), "parse --help");
    EXPECT_EQ(parse.status, 0);
    EXPECT_EQ(Missing(parse.out, {"FILE.mif", "-h,--help", "--errors", "--stats"}), Strings{}) << parse.out;
    EXPECT_EQ(Tessel(config.Path(), "help parse").out, parse.out);
}

// The preferences command reads its own arguments: its help is its own, however asked for.
TEST(CommandLine, Prefs_GetsItsArgumentsUnchanged)
{
    TempFolder config("cli-prefs");
    TesselRun help = Tessel(config.Path(), "prefs --help");
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_NE(help.out.find("list"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("show"), std::string::npos) << help.out;
    EXPECT_EQ(help.out.find("tessel converts FrameMaker"), std::string::npos) << "not the help of the whole line: " << help.out;
    EXPECT_EQ(Tessel(config.Path(), "help prefs").out, help.out);
    TesselRun list = Tessel(config.Path(), "prefs list");
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out, "* [Common]\n");
}

TEST(CommandLine, WrongUsage_ExitsWith2AndAHint)
{
    TempFolder config("cli-usage");
    struct Case {
        std::string args, message, command;
    };
    const std::string sample = "'" + kSample + "' ";
    for (const Case& wrong : {
             Case{"bogus", "unknown command 'bogus'", ""},
             Case{"--bogus", "unknown option --bogus", ""},
             Case{"help bogus", "unknown command 'bogus'", ""},
             Case{"convert " + sample + "--bogus", "unknown option --bogus", "convert"},
             Case{"convert --bogus=1 " + sample, "unknown option --bogus=1", "convert"},
             Case{"convert " + sample + "-o", "--output: 1 required OUT.idml missing", "convert"},
             Case{"convert ''", "the file name is empty", "convert"},
             Case{"convert " + sample + "--images ''", "--images needs a folder name", "convert"},
             Case{"convert " + sample + "--images /no/such/folder", "--images needs a folder, /no/such/folder is none", "convert"},
             Case{"convert " + sample + "--png x --dpi 5", "--dpi needs a number from 10 to 1200, not 5", "convert"},
             Case{"convert " + sample + "--frames", "--frames needs --pdf or --png", "convert"},
             Case{"convert " + sample + "--pdf x.pdf --dpi 72", "--dpi needs --png (PDF pages are drawn in points)", "convert"},
             Case{"parse", "FILE.mif is required", "parse"},
             Case{"parse ''", "the file name is empty", "parse"},
             Case{"parse " + sample + sample, "one file at a time", "parse"},
             Case{"parse --bogus " + sample, "unknown option --bogus", "parse"},
         }) {
        SCOPED_TRACE(wrong.args);
        TesselRun run = Tessel(config.Path(), wrong.args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        std::string name = wrong.command.empty() ? "tessel" : "tessel " + wrong.command;
        EXPECT_EQ(run.err, name + ": " + wrong.message + "\nRun '" + name + " --help' for " +
                               (wrong.command.empty() ? "the commands" : "its options") + ".\n");
    }

    // A line that asks for nothing gets the help, on standard error.
    TesselRun none = Tessel(config.Path(), "");
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, Tessel(config.Path(), "--help").out);
}

// Options and the file in any order, "--" before a file whose name starts with "-", the last of
// an option given twice.
TEST(CommandLine, Arguments_AnyOrder)
{
    TempFolder config("cli-order");
    TesselRun errors = Tessel(config.Path(), "parse --errors '" + kSample + "'");
    EXPECT_EQ(errors.status, 0) << errors.err;
    EXPECT_EQ(Tessel(config.Path(), "parse '" + kSample + "' --errors").out, errors.out);
    TesselRun dashed = Tessel(config.Path(), "parse -- -no-such-file.mif");
    EXPECT_EQ(dashed.status, 1);
    EXPECT_EQ(dashed.err, "tessel parse: cannot read -no-such-file.mif: no such file\n");

    TempFolder folder("cli-order-out");
    TesselRun twice = Tessel(config.Path(), "convert -o first.idml '" + kSample + "' --output=second.idml", folder.Path());
    EXPECT_EQ(twice.status, 0) << twice.err;
    EXPECT_EQ(folder.List(), Strings{"second.idml"});
}
