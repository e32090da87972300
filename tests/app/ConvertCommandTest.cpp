// tessel convert, run as a user runs it: what it refuses (with its exact status and message), and
// that it never destroys what the user has: the input, special files, other outputs, settings.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "CmdUtils.h"
#include "TestUtils.h"

#include "app/TesselRun.h"
#include "prefs/MifSetPrefsCmd.h"

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

const std::string kSample = TESSEL_SOURCE_DIR "/samples/sample.mif";
const std::string kData = TESSEL_TEST_DATA_DIR;

std::string Quote(const fs::path& path) { return "'" + path.string() + "'"; }

void Put(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

bool IsPackage(const fs::path& path) { return ReadFile(path.string()).rfind("PK", 0) == 0; }

// A folder for the files of one test, and settings of its own.
struct ConvertFolder {
    explicit ConvertFolder(const std::string& name) : folder("convert-" + name), config("convert-config-" + name) {}
    TesselRun Run(const std::string& args, const fs::path& in = {}) { return Tessel(config.Path(), args, in); }
    fs::path operator/(const std::string& name) const { return folder / name; }

    TempFolder folder;
    TempFolder config;
};

} // namespace

TEST(ConvertCommand, Refuses_FilesThatAreNotMif)
{
    ConvertFolder test("refused");
    TesselRun binary = test.Run("convert " + Quote(kData + "/maker-binary.mif") + " -o " + Quote(test / "maker.idml"));
    EXPECT_EQ(binary.status, 1);
    EXPECT_EQ(binary.err, "tessel: This file is an Adobe FrameMaker FM document, please convert it to the MIF format "
                          "first. To save a document as a MIF file, open your document in FrameMaker, choose Save As "
                          "and select \"Document type: Maker Interchange Format\"\n");
    TesselRun book = test.Run("convert " + Quote(kData + "/book.mif") + " -o " + Quote(test / "book.idml"));
    EXPECT_EQ(book.status, 1);
    EXPECT_EQ(book.err, "tessel: This file is an Adobe FrameMaker book document, which is not currently supported.\n");
    TesselRun missing = test.Run("convert " + Quote(test / "missing.mif"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "tessel convert: Cannot read " + (test / "missing.mif").string() + ": no such file\n");
    EXPECT_EQ(test.folder.List(), Strings{});
    // A named pipe with no writer is refused at once instead of waited on.
    ASSERT_EQ(::mkfifo((test / "pipe.mif").c_str(), 0600), 0);
    TesselRun pipe = test.Run("convert " + Quote(test / "pipe.mif") + " -o " + Quote(test / "pipe.idml"));
    EXPECT_EQ(pipe.status, 1);
    EXPECT_EQ(pipe.err, "tessel convert: Cannot read " + (test / "pipe.mif").string() +
                            ": it is not a regular file (a device, a FIFO or a socket)\n");
    EXPECT_EQ(test.folder.List(), Strings{"pipe.mif"});
}

TEST(ConvertCommand, Refuses_AnOutputInAFolderThatDoesNotExist)
{
    ConvertFolder test("no-folder");
    fs::path out = test / "no-such-folder" / "out.idml";
    TesselRun run = test.Run("convert " + Quote(kSample) + " -o " + Quote(out));
    EXPECT_EQ(run.status, 1);
    // The last line, after the conversion's own warnings.
    std::string last = run.err.substr(run.err.rfind('\n', run.err.size() - 2) + 1);
    EXPECT_EQ(last, "tessel convert: cannot write the document " + out.string() + ": the folder does not exist\n");
    EXPECT_EQ(test.folder.List(), Strings{});
}

// -o naming the input, however it is spelt, and an input whose own name ends in .idml.
TEST(ConvertCommand, Refuses_TheInputAsOutput)
{
    ConvertFolder test("input");
    fs::path input = test / "doc.mif";
    fs::copy_file(kSample, input);
    fs::copy_file(kSample, test / "doc.idml");
    fs::create_symlink("doc.mif", test / "link.idml");
    std::string original = ReadFile(input.string());
    for (const std::string& out : {input.string(), (test.folder.Path() / "." / "doc.mif").string(), std::string("doc.mif"),
                                   (test / "link.idml").string()}) {
        SCOPED_TRACE(out);
        TesselRun run = test.Run("convert doc.mif -o " + Quote(out), test.folder.Path());
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "tessel convert: cannot write the document " + out + ": it is the input file\n");
    }
    TesselRun dump = test.Run("convert doc.mif -o out.idml --json ./doc.mif", test.folder.Path());
    EXPECT_EQ(dump.status, 1);
    EXPECT_EQ(dump.err, "tessel convert: cannot write the dump ./doc.mif: it is the input file\n");
    TesselRun idml = test.Run("convert doc.idml", test.folder.Path());
    EXPECT_EQ(idml.status, 1);
    EXPECT_EQ(idml.err, "tessel convert: cannot write the document doc.idml: it is the input file\n");
    EXPECT_EQ(ReadFile(input.string()), original);
    EXPECT_EQ(ReadFile((test / "doc.idml").string()), original);
    EXPECT_EQ(test.folder.List(), (Strings{"doc.idml", "doc.mif", "link.idml"}));
}

// Two outputs naming one file: the second would silently replace the first.
TEST(ConvertCommand, Refuses_OneFileForTwoOutputs)
{
    ConvertFolder test("twice");
    TesselRun run = test.Run("convert " + Quote(kSample) + " -o out.idml --report ./out.idml", test.folder.Path());
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "tessel convert: the document and the report are the same file (./out.idml)\n");
    EXPECT_EQ(test.folder.List(), Strings{});
}

// What exists and is not a regular file stays what it was; a symbolic link is written through.
TEST(ConvertCommand, Outputs_SpecialFilesRefusedLinksFollowed)
{
    ConvertFolder test("special");
    fs::path fifo = test / "fifo.idml";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_directory(test / "folder.idml");
    for (std::string option : {"-o", "--json", "--report"}) {
        for (const fs::path& out : {fifo, test / "folder.idml"}) {
            SCOPED_TRACE(option + " " + out.string());
            TesselRun run = test.Run("convert " + Quote(kSample) + " -o " + Quote(test / "doc.idml") + " " + option + " " +
                                     Quote(out));
            EXPECT_EQ(run.status, 1);
            const char* what = option == "-o" ? "document" : option == "--json" ? "dump" : "report";
            EXPECT_EQ(run.err, std::string("tessel convert: cannot write the ") + what + " " + out.string() +
                                   ": it is not a regular file (a folder, a device, a FIFO or a socket)\n");
        }
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_directory(test / "folder.idml"));

    fs::create_symlink("nowhere/out.idml", test / "dangling.idml");
    TesselRun dangling = test.Run("convert " + Quote(kSample) + " -o " + Quote(test / "dangling.idml"));
    EXPECT_EQ(dangling.status, 1);
    EXPECT_EQ(dangling.err, "tessel convert: cannot write the document " + (test / "dangling.idml").string() +
                                ": it is a symbolic link that leads nowhere\n");
    EXPECT_EQ(test.folder.List(), (Strings{"dangling.idml", "fifo.idml", "folder.idml"}));

    Put(test / "real.idml", "old");
    fs::create_symlink("real.idml", test / "link.idml");
    TesselRun link = test.Run("convert " + Quote(kSample) + " -o " + Quote(test / "link.idml"));
    EXPECT_EQ(link.status, 0) << link.err;
    EXPECT_TRUE(fs::is_symlink(test / "link.idml"));
    EXPECT_TRUE(IsPackage(test / "real.idml"));
}

// An empty value is wrong usage: "-o ''" never falls back to the name beside the input.
TEST(ConvertCommand, Usage_EmptyValuesAndSeveralFiles)
{
    ConvertFolder test("usage");
    fs::path input = test / "doc.mif";
    fs::copy_file(kSample, input);
    for (std::string option : {"-o", "--json", "--report", "--preset"}) {
        SCOPED_TRACE(option);
        TesselRun run = test.Run("convert " + Quote(input) + " " + option + " ''");
        EXPECT_EQ(run.status, 2);
        std::string needs = option == "--preset" ? "a preset name" : "a file name";
        EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), "tessel convert: " + option + " needs " + needs + "\n");
    }
    TesselRun two = test.Run("convert " + Quote(input) + " " + Quote(input));
    EXPECT_EQ(two.status, 2);
    EXPECT_EQ(two.err.substr(0, two.err.find('\n') + 1),
              "tessel convert: one file at a time (converting several files or folders is not supported yet)\n");
    TesselRun folder = test.Run("convert " + Quote(test.folder.Path()));
    EXPECT_EQ(folder.status, 2);
    EXPECT_EQ(folder.err, "tessel convert: " + test.folder.Path().string() +
                              " is a folder (converting folders is not supported yet)\n");
    EXPECT_EQ(test.folder.List(), Strings{"doc.mif"});
}

// The document, the dump and the report appear together or not at all.
TEST(ConvertCommand, Outputs_AllOrNothing)
{
    ConvertFolder test("together");
    Put(test / "doc.idml", "old package");
    for (std::string option : {"--json", "--report"}) {
        SCOPED_TRACE(option);
        fs::path bad = test / "no-such-folder" / "out.txt";
        TesselRun run = test.Run("convert " + Quote(kSample) + " -o " + Quote(test / "doc.idml") + " " + option + " " +
                                 Quote(bad));
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err.find("wrote"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(": the folder does not exist\n"), std::string::npos) << run.err;
        EXPECT_EQ(ReadFile((test / "doc.idml").string()), "old package");
        EXPECT_EQ(test.folder.List(), Strings{"doc.idml"});
    }
    TesselRun all = test.Run("convert " + Quote(kSample) + " -o " + Quote(test / "doc.idml") + " --json " +
                             Quote(test / "doc.json") + " --report " + Quote(test / "doc.txt"));
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_TRUE(IsPackage(test / "doc.idml"));
    EXPECT_EQ(ReadFile((test / "doc.json").string()).rfind("{", 0), 0u);
    EXPECT_EQ(test.folder.List(), (Strings{"doc.idml", "doc.json", "doc.txt"}));
}

// Stories whose text runs past their last frame are listed in the report.
TEST(ConvertCommand, Report_ListsOversetStories)
{
    ConvertFolder test("overset");
    // Without the pages the article's autoconnected flow would get, its text runs past its page.
    TesselRun run = test.Run("convert " + Quote(TESSEL_CORPUS_DIR "/generated/openjade/article-long.mif") + " -o " +
                             Quote(test / "long.idml") + " --report " + Quote(test / "long.txt") + " --no-add-pages");
    EXPECT_EQ(run.status, 0) << run.err;
    std::string report = ReadFile((test / "long.txt").string());
    EXPECT_NE(report.find("Overset text (stories whose text does not fit their frames):\n  story "), std::string::npos) << report;
    EXPECT_NE(report.find("characters do not fit\n"), std::string::npos) << report;
    TesselRun sample = test.Run("convert " + Quote(kSample) + " -o " + Quote(test / "sample.idml"));
    EXPECT_EQ(sample.err.find("Overset"), std::string::npos) << sample.err;
}

// The families the package names that this system lacks are one list; the faces that stood in
// for them, and whether they keep the widths, another. Times and Helvetica are lacked (the
// package names them) but have metric-compatible stand-ins.
TEST(ConvertCommand, Report_LackedFamiliesAndTheirStandInsApart)
{
    ConvertFolder test("standins");
    TesselRun sample = test.Run("convert " + Quote(kSample) + " -o " + Quote(test / "sample.idml") + " --report " + Quote(test / "s.txt"));
    EXPECT_EQ(sample.status, 0) << sample.err;
    const std::string report = ReadFile((test / "s.txt").string());
    const size_t lacked = report.find("Font families the package names that this system lacks");
    const size_t standIns = report.find("Stand-ins this system composed and drew the text with:\n");
    ASSERT_NE(lacked, std::string::npos) << report;
    ASSERT_NE(standIns, std::string::npos) << report;
    const std::string lackedList = report.substr(lacked, standIns - lacked);
    EXPECT_NE(lackedList.find("\n  Times\n"), std::string::npos) << report;
    EXPECT_NE(lackedList.find("\n  Helvetica\n"), std::string::npos) << report;
    EXPECT_EQ(lackedList.find(":", lackedList.find('\n')), std::string::npos) << "no stand-ins in the first list: " << report;
    const std::string standInList = report.substr(standIns);
    EXPECT_NE(standInList.find("\n  Times: "), std::string::npos) << report;
    EXPECT_NE(standInList.find(" (metric-compatible)"), std::string::npos) << report;
    EXPECT_EQ(standInList.find("fallback"), std::string::npos) << report;
    EXPECT_EQ(report.find("Characters no installed font"), std::string::npos) << report;
}

// Japanese text in a family without its glyphs is drawn with a face that has them, said in the
// stand-ins; a character that no installed font has is named.
TEST(ConvertCommand, Report_CharacterFallbacksAndUndrawableCharacters)
{
    ConvertFolder test("cjk");
    TesselRun run = test.Run("convert " + Quote(kData + "/cjk-fallback.mif") + " -o " + Quote(test / "j.idml") + " --report " +
                             Quote(test / "j.txt"));
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string report = ReadFile((test / "j.txt").string());
    const size_t meiryo = report.find("\n  Meiryo: ");
    ASSERT_NE(meiryo, std::string::npos) << report;
    const std::string line = report.substr(meiryo + 3, report.find('\n', meiryo + 3) - meiryo - 3);
    EXPECT_NE(line.find("(fontconfig's fallback: other widths"), std::string::npos) << line;
    EXPECT_NE(line.find(" for the characters "), std::string::npos) << line;
    EXPECT_NE(report.find("Characters no installed font can draw (empty boxes in the preview):\n  U+13000 \xF0\x93\x80\x80\n"),
              std::string::npos)
        << report;
    // The Japanese characters are drawn: none of them is named.
    EXPECT_EQ(report.find("U+65E5"), std::string::npos) << report;
}

// Pages are added for the article's autoconnected flow, said in the report; --max-pages limits
// them and says so; wrong values are refused.
TEST(ConvertCommand, AddedPages_ReportedAndLimited)
{
    ConvertFolder test("pages");
    const std::string input = Quote(TESSEL_CORPUS_DIR "/generated/openjade/article-features.mif");
    TesselRun run = test.Run("convert " + input + " -o " + Quote(test / "a.idml") + " --report " + Quote(test / "a.txt"));
    EXPECT_EQ(run.status, 0) << run.err;
    std::string report = ReadFile((test / "a.txt").string());
    EXPECT_NE(report.find(" for the text flow A (autoconnected)."), std::string::npos) << report;
    // The body story fits (the masters' running heads are theirs to fit).
    const std::string body = "(\"Harbour Pilot Scheduling: A Feature Tour\")";
    EXPECT_EQ(report.find(body), std::string::npos) << report;

    TesselRun limited = test.Run("convert " + input + " -o " + Quote(test / "b.idml") + " --report " + Quote(test / "b.txt") +
                                 " --max-pages 1");
    EXPECT_EQ(limited.status, 0) << limited.err;
    report = ReadFile((test / "b.txt").string());
    EXPECT_NE(report.find("Added 1 page for the text flow A (autoconnected)."), std::string::npos) << report;
    EXPECT_NE(report.find("at the limit of 1 page added to a document"), std::string::npos) << report;
    EXPECT_NE(report.find(body), std::string::npos) << report;

    for (std::string bad : {"--max-pages -1", "--max-pages 0", "--max-pages 1000001", "--max-pages 12x", "--max-pages 5 --no-add-pages"}) {
        SCOPED_TRACE(bad);
        TesselRun refused = test.Run("convert " + input + " -o " + Quote(test / "c.idml") + " " + bad);
        EXPECT_EQ(refused.status, 2);
        EXPECT_NE(refused.err.find(bad.find("no-add") != std::string::npos ? "contradict each other" : "--max-pages needs a whole number"),
                  std::string::npos)
            << refused.err;
    }
    EXPECT_FALSE(fs::exists(test / "c.idml"));
}

// A file that asks for more pages than --max-pages (10000 unless given) is refused before any
// page is made: exit 1, the reason on standard error, nothing written.
TEST(ConvertCommand, Pages_AFileWithTooManyIsRefused)
{
    ConvertFolder test("many-pages");
    std::string mif = "<MIFFile 2015>\n<Document <DPageSize 612pt 792pt>>\n";
    for (int i = 0; i < 10001; ++i) mif += "<Page>\n";
    std::ofstream(test / "many.mif") << mif;
    TesselRun refused = test.Run("convert " + Quote(test / "many.mif") + " -o " + Quote(test / "many.idml"));
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "tessel: This MIF file has 10001 pages, more than the 10000 a document may have (--max-pages). No document "
                           "was made.\n");
    EXPECT_FALSE(fs::exists(test / "many.idml"));
    TesselRun limited = test.Run("convert " + Quote(test / "many.mif") + " -o " + Quote(test / "many.idml") + " --max-pages 20");
    EXPECT_EQ(limited.status, 1);
    EXPECT_NE(limited.err.find("more than the 20 a document may have (--max-pages)"), std::string::npos) << limited.err;
    TesselRun allowed = test.Run("convert " + Quote(test / "many.mif") + " -o " + Quote(test / "many.idml") + " --max-pages 10001");
    EXPECT_EQ(allowed.status, 0) << allowed.err;
}

// A family no installed font serves is composed with fontconfig's fallback, said once for all
// the styles of it the text asks for.
TEST(ConvertCommand, Report_NamesTheFallbackOfAFamilyOnce)
{
    ConvertFolder test("fallback");
    TesselRun run = test.Run("convert " + Quote(kData + "/unknown-family.mif") + " -o " + Quote(test / "u.idml") + " --report " +
                             Quote(test / "u.txt"));
    EXPECT_EQ(run.status, 0) << run.err;
    std::string report = ReadFile((test / "u.txt").string());
    const std::string line = "composed and drew the text with:\n  Zorblax Serif: ";
    EXPECT_NE(report.find(line), std::string::npos) << report;
    EXPECT_NE(report.find("(fontconfig's fallback: other widths, so lines break elsewhere)"), std::string::npos) << report;
    EXPECT_EQ(report.find("  Zorblax Serif: "), report.rfind("  Zorblax Serif: ")) << report;
}

// With no file, the sample is converted into the current folder, never beside the sample.
TEST(ConvertCommand, NoFile_SampleIntoTheCurrentFolder)
{
    ConvertFolder test("sample");
    bool hadSourceCopy = fs::exists(TESSEL_SOURCE_DIR "/samples/sample.idml");
    TesselRun run = test.Run("convert", test.folder.Path());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("tessel convert: wrote sample.idml\n"), std::string::npos) << run.err;
    EXPECT_TRUE(IsPackage(test / "sample.idml"));
    EXPECT_EQ(fs::exists(TESSEL_SOURCE_DIR "/samples/sample.idml"), hadSourceCopy);
}

// A preset chosen for one conversion leaves the stored settings as they are, damaged or not, and
// is found by the same names as tessel prefs show finds it.
TEST(ConvertCommand, Preset_SettingsUntouched)
{
    ConvertFolder test("preset");
    {
        FreshSession session;
        MifPresetRecord book;
        book.SetName("Book");
        auto setPrefsCmd = std::make_shared<MifSetPrefsCmd>();
        setPrefsCmd->GetData().SetPresets({MifPresetRecord(), book});
        ASSERT_EQ(CmdUtils::ProcessCommand(setPrefsCmd), kSuccess);
        PMString problem;
        ASSERT_EQ(Session::SaveWorkspace(problem), kSuccess);
        fs::copy_file(session.File().GetPath(), test.config / "workspace.dat");
    }
    fs::path settings = test.config / "workspace.dat";
    std::string saved = ReadFile(settings.string());
    struct stat before {};
    ASSERT_EQ(::stat(settings.c_str(), &before), 0);
    for (std::string name : {"Book", "book", "'[common]'"}) {
        SCOPED_TRACE(name);
        TesselRun run = test.Run("convert " + Quote(kSample) + " -o " + Quote(test / "doc.idml") + " --preset " + name);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(test.Run("prefs show " + name).status, 0);
    }
    struct stat after {};
    ASSERT_EQ(::stat(settings.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);  // not replaced by a new file
    EXPECT_EQ(ReadFile(settings.string()), saved);
    TesselRun list = test.Run("prefs list");
    EXPECT_EQ(list.out, "* [Common]\n  Book\n");

    TesselRun unknown = test.Run("convert " + Quote(kSample) + " -o " + Quote(test / "doc.idml") + " --preset Manual");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err, "tessel convert: there is no preset named \"Manual\" (tessel prefs list shows them)\n");

    // A damaged file is reported, used with its defaults, and left alone.
    std::string damaged("\x54\x53\x77\x73\x00\x01\x00\x00\x7f\xff", 10);
    Put(settings, damaged);
    TesselRun run = test.Run("convert " + Quote(kSample) + " -o " + Quote(test / "doc.idml") + " --preset '[Common]'");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("tessel: cannot read all the settings in " + settings.string()), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(settings.string()), damaged);
    EXPECT_FALSE(fs::exists(test.config / "workspace.dat.damaged"));
}
