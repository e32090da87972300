// tessel convert --pdf / --png, run as a user runs it: one PDF page and one image per page, the
// options it refuses, and a preview that cannot be written costing the preview, never the
// document.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <cstdio>

#include "TestUtils.h"

#include "app/TesselRun.h"
#include "host/PreviewImage.h"

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

const std::string kSample = TESSEL_SOURCE_DIR "/samples/sample.mif";
// Two body pages.
const std::string kTwoPages = TESSEL_CORPUS_DIR "/framemaker/Test03.mif";
// Its body story does not fit its page.
const std::string kOverset = TESSEL_CORPUS_DIR "/generated/openjade/article-long.mif";

std::string Quote(const fs::path& path) { return "'" + path.string() + "'"; }

bool IsPackage(const fs::path& path) { return ReadFile(path.string()).rfind("PK", 0) == 0; }

std::string LastLine(const std::string& text)
{
    size_t end = text.size() > 1 ? text.rfind('\n', text.size() - 2) : std::string::npos;
    return end == std::string::npos ? text : text.substr(end + 1);
}

struct PreviewFolder {
    explicit PreviewFolder(const std::string& name) : folder("preview-" + name), config("preview-config-" + name) {}
    TesselRun Run(const std::string& args) { return Tessel(config.Path(), args); }
    fs::path operator/(const std::string& name) const { return folder / name; }

    TempFolder folder;
    TempFolder config;
};

Strings List(const fs::path& folder)
{
    Strings names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

int RedPixels(const PreviewImage& image)
{
    return image.Count(0, 0, image.Width(), image.Height(), [&](int x, int y) { return image.IsRed(x, y); });
}

} // namespace

TEST(ConvertPreview, PdfAndPngOfEveryPage)
{
    PreviewFolder test("pages");
    TesselRun run = test.Run("convert " + Quote(kTwoPages) + " -o " + Quote(test / "doc.idml") + " --pdf " +
                             Quote(test / "doc.pdf") + " --png " + Quote(test / "png" / "pages") + " --dpi 36");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(LastLine(run.err), "tessel convert: wrote " + (test / "doc.idml").string() + "\n");
    EXPECT_TRUE(IsPackage(test / "doc.idml"));
    std::string pdf = ReadFile((test / "doc.pdf").string());
    EXPECT_EQ(CountPdfPages(pdf), 2);
    // The folder is made, with one image a page, of the page's size at 36 dpi.
    ASSERT_EQ(fs::path(test / "png" / "pages").parent_path(), test / "png");
    EXPECT_EQ(List(test / "png" / "pages"), (Strings{"page-1.png", "page-2.png"}));
    size_t mediaBox = pdf.find("/MediaBox [ 0 0 ");
    ASSERT_NE(mediaBox, std::string::npos);
    double width = 0, height = 0;
    ASSERT_EQ(std::sscanf(pdf.c_str() + mediaBox, "/MediaBox [ 0 0 %lf %lf ]", &width, &height), 2);
    PreviewImage first(ReadFile((test / "png" / "pages" / "page-1.png").string()));
    EXPECT_EQ(first.Width(), static_cast<int>(std::ceil(width / 2 - 1e-6)));
    EXPECT_EQ(first.Height(), static_cast<int>(std::ceil(height / 2 - 1e-6)));
    EXPECT_GT(first.InkIn(0, 0, first.Width(), first.Height()), 0);
}

TEST(ConvertPreview, FramesMarkOversetText)
{
    PreviewFolder test("frames");
    // Without the pages its autoconnected flow would get, the article's text runs past its page.
    TesselRun plain =
        test.Run("convert " + Quote(kOverset) + " -o " + Quote(test / "a.idml") + " --png " + Quote(test / "plain") + " --no-add-pages");
    ASSERT_EQ(plain.status, 0) << plain.err;
    TesselRun framed =
        test.Run("convert " + Quote(kOverset) + " -o " + Quote(test / "b.idml") + " --png " + Quote(test / "framed") + " --frames --no-add-pages");
    ASSERT_EQ(framed.status, 0) << framed.err;
    PreviewImage without(ReadFile((test / "plain" / "page-1.png").string()));
    PreviewImage with(ReadFile((test / "framed" / "page-1.png").string()));
    ASSERT_TRUE(without.IsValid() && with.IsValid());
    EXPECT_EQ(RedPixels(without), 0);
    EXPECT_GT(RedPixels(with), 10);
    // The outlines add ink to the page.
    EXPECT_GT(with.InkIn(0, 0, with.Width(), with.Height()), without.InkIn(0, 0, without.Width(), without.Height()));
}

// A folder that cannot be made: the message, the document written all the same, and status 1
// since an output asked for is missing.
TEST(ConvertPreview, UnwritableFolder_DocumentStillWritten)
{
    PreviewFolder test("unwritable");
    std::ofstream(test / "file") << "not a folder";
    fs::path folder = test / "file" / "png";
    TesselRun run = test.Run("convert " + Quote(kSample) + " -o " + Quote(test / "doc.idml") + " --png " + Quote(folder) +
                             " --report " + Quote(test / "report.txt"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("tessel convert: cannot write the preview folder " + folder.string() +
                           ": the folder cannot be made (permissions, or a file in its path)\n"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(LastLine(run.err), "tessel convert: wrote " + (test / "doc.idml").string() + ", without the preview\n");
    EXPECT_TRUE(IsPackage(test / "doc.idml"));
    EXPECT_TRUE(fs::exists(test / "report.txt"));
    // A PDF in a folder that does not exist: likewise.
    TesselRun pdf = test.Run("convert " + Quote(kSample) + " -o " + Quote(test / "doc2.idml") + " --pdf " +
                             Quote(test / "missing" / "doc.pdf"));
    EXPECT_EQ(pdf.status, 1);
    EXPECT_NE(pdf.err.find("tessel convert: cannot write the preview " + (test / "missing" / "doc.pdf").string() +
                           ": the folder does not exist\n"),
              std::string::npos)
        << pdf.err;
    EXPECT_TRUE(IsPackage(test / "doc2.idml"));
    // A PNG "folder" that is a file, or a link that leads nowhere: the file stays as it was.
    fs::create_symlink(test / "nowhere", test / "dangling");
    for (const char* name : {"file", "dangling"}) {
        SCOPED_TRACE(name);
        fs::path doc = test / (std::string(name) + ".idml");
        TesselRun notFolder = test.Run("convert " + Quote(kSample) + " -o " + Quote(doc) + " --png " + Quote(test / name));
        EXPECT_EQ(notFolder.status, 1);
        EXPECT_NE(notFolder.err.find("tessel convert: cannot write the preview folder " + (test / name).string() + ": "),
                  std::string::npos) << notFolder.err;
        EXPECT_EQ(LastLine(notFolder.err), "tessel convert: wrote " + doc.string() + ", without the preview\n");
        EXPECT_TRUE(IsPackage(doc));
    }
    EXPECT_EQ(ReadFile((test / "file").string()), "not a folder");
}

// When the document or the report cannot be written, neither is the preview, and a folder made
// for it goes; the preview makes no folder for the document.
TEST(ConvertPreview, DocumentFails_NoPreview)
{
    PreviewFolder test("all-or-nothing");
    TesselRun run = test.Run("convert " + Quote(kSample) + " -o " + Quote(test / "missing" / "doc.idml") + " --png " +
                             Quote(test / "missing" / "png") + " --pdf " + Quote(test / "doc.pdf"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LastLine(run.err), "tessel convert: cannot write the document " + (test / "missing" / "doc.idml").string() +
                                     ": the folder does not exist\n");
    EXPECT_EQ(test.folder.List(), Strings{});
    TesselRun report = test.Run("convert " + Quote(kSample) + " -o " + Quote(test / "doc.idml") + " --report " +
                                Quote(test / "missing" / "report.txt") + " --png " + Quote(test / "png"));
    EXPECT_EQ(report.status, 1);
    EXPECT_EQ(test.folder.List(), Strings{});
}

// What is refused before converting: usage (status 2) and outputs that are not files (status 1).
TEST(ConvertPreview, Refuses_OptionsAndPaths)
{
    PreviewFolder test("refused");
    for (const std::string& args : {std::string("--frames"), std::string("--png x --dpi 5"), std::string("--png x --dpi 96dpi"),
                                    std::string("--pdf x.pdf --dpi 72"), std::string("--png")}) {
        SCOPED_TRACE(args);
        TesselRun run = test.Run("convert " + Quote(kSample) + " -o " + Quote(test / "doc.idml") + " " + args);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("\nRun 'tessel convert --help' for its options.\n"), std::string::npos) << run.err;
    }
    TesselRun same = test.Run("convert " + Quote(kSample) + " -o " + Quote(test / "doc.idml") + " --pdf " + Quote(test / "x") +
                              " --png " + Quote(test / "x"));
    EXPECT_EQ(same.status, 2);
    EXPECT_EQ(same.err, "tessel convert: the preview and the preview folder are the same (" + (test / "x").string() + ")\n");
    fs::create_directory(test / "folder");
    TesselRun pdfFolder = test.Run("convert " + Quote(kSample) + " -o " + Quote(test / "doc.idml") + " --pdf " + Quote(test / "folder"));
    EXPECT_EQ(pdfFolder.status, 1);
    TesselRun pdfInput = test.Run("convert " + Quote(kSample) + " -o " + Quote(test / "doc.idml") + " --pdf " + Quote(kSample));
    EXPECT_EQ(pdfInput.status, 1);
    EXPECT_NE(pdfInput.err.find("it is the input file"), std::string::npos) << pdfInput.err;
    EXPECT_EQ(test.folder.List(), (Strings{"folder"}));
}
