// EPS pictures in the preview: drawn by Ghostscript in a child process across their bounding
// box, kept per file and size; broken and hostile files give no picture (the placeholder), in
// bounded time, and touch nothing outside.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IImportProvider.h"
#include "PreviewEpsRenderer.h"
#include "PreviewWriter.h"
#include "TempFolder.h"

#include "host/PreviewImage.h"

namespace {

std::vector<unsigned char> Bytes(const std::string& text) { return std::vector<unsigned char>(text.begin(), text.end()); }

// A picture of 200 x 100 points whose box does not start at the origin: red left, blue right.
const std::string kHalves = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 100 200 300 300\n%%EndComments\n"
                            "1 0 0 setrgbcolor 100 200 100 100 rectfill 0 0 1 setrgbcolor 200 200 100 100 rectfill\n"
                            "showpage\n%%EOF\n";

// Red, green and blue of a pixel of an RGB24 surface.
void PixelOf(cairo_surface_t* surface, int x, int y, int& r, int& g, int& b)
{
    cairo_surface_flush(surface);
    const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    uint32_t pixel;
    std::memcpy(&pixel, row + 4 * x, 4);
    r = (pixel >> 16) & 0xff;
    g = (pixel >> 8) & 0xff;
    b = pixel & 0xff;
}

} // namespace

TEST(PreviewEpsRenderer, Render_BoundingBoxFillsThePictureAndIsKeptPerSize)
{
    PreviewEpsRenderer renderer;
    cairo_surface_t* picture = renderer.Render("halves", "halves.eps", Bytes(kHalves), 40, 10);
    ASSERT_NE(picture, nullptr) << (renderer.GetProblems().empty() ? "" : renderer.GetProblems().front());
    EXPECT_EQ(cairo_image_surface_get_width(picture), 40);
    EXPECT_EQ(cairo_image_surface_get_height(picture), 10);
    int r, g, b;
    PixelOf(picture, 2, 5, r, g, b);
    EXPECT_TRUE(r > 200 && g < 50 && b < 50) << r << " " << g << " " << b;
    PixelOf(picture, 37, 5, r, g, b);
    EXPECT_TRUE(r < 50 && g < 50 && b > 200) << r << " " << g << " " << b;
    // The same file at the same size is drawn once; at another size again.
    EXPECT_EQ(renderer.Render("halves", "halves.eps", Bytes(kHalves), 40, 10), picture);
    EXPECT_EQ(renderer.RenderCount(), 1);
    EXPECT_TRUE(renderer.IsKept("halves", 40, 10));
    EXPECT_NE(renderer.Render("halves", "halves.eps", Bytes(kHalves), 20, 20), nullptr);
    EXPECT_EQ(renderer.RenderCount(), 2);
    EXPECT_TRUE(renderer.GetProblems().empty());
}

TEST(PreviewEpsRenderer, Render_BrokenFilesGiveNoPictureOnceEach)
{
    PreviewEpsRenderer renderer;
    // A PostScript error, a file with no bounding box that is no PostScript at all, nothing.
    const std::string error = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n%%EndComments\nnosuchoperator\nshowpage\n";
    EXPECT_EQ(renderer.Render("error", "error.eps", Bytes(error), 10, 10), nullptr);
    EXPECT_EQ(renderer.Render("junk", "junk.eps", Bytes(std::string("\x89PNG\r\n\x1a\n not PostScript", 22)), 10, 10), nullptr);
    EXPECT_EQ(renderer.Render("empty", "empty.eps", {}, 10, 10), nullptr);
    ASSERT_EQ(renderer.GetProblems().size(), 3u);
    EXPECT_EQ(renderer.GetProblems()[0],
              "the EPS file error.eps cannot be drawn (Ghostscript reported an error in it); a grey box stands in for it");
    EXPECT_EQ(renderer.GetProblems()[2], "the EPS file empty.eps cannot be drawn (it is empty); a grey box stands in for it");
    // A file that failed is not tried again, at any size.
    const int renders = renderer.RenderCount();
    EXPECT_EQ(renderer.Render("error", "error.eps", Bytes(error), 20, 20), nullptr);
    EXPECT_TRUE(renderer.HasFailed("error"));
    EXPECT_EQ(renderer.RenderCount(), renders);
    EXPECT_EQ(renderer.GetProblems().size(), 3u);
    // Sizes past the limit are refused without Ghostscript.
    EXPECT_EQ(PreviewEpsRenderer::RenderOnce(Bytes(kHalves), PreviewEpsRenderer::kMaxSide + 1, 10, {}), nullptr);
    EXPECT_EQ(PreviewEpsRenderer::RenderOnce(Bytes(kHalves), 0, 10, {}), nullptr);
}

TEST(PreviewEpsRenderer, Render_HostileFilesAreStoppedAndTouchNothing)
{
    TempFolder folder("eps-hostile");
    const std::filesystem::path secret = folder / "secret.txt", written = folder / "written.txt";
    std::ofstream(secret) << "secret";
    // Reading, writing and deleting files and running commands are refused by -dSAFER.
    for (const std::string& body : {"(" + secret.string() + ") (r) file 10 string readstring pop pop",
                                    "(" + written.string() + ") (w) file closefile",
                                    "(" + secret.string() + ") deletefile",
                                    "(%pipe%touch " + written.string() + ") (w) file closefile"}) {
        SCOPED_TRACE(body);
        const std::string eps = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n%%EndComments\n" + body + "\nshowpage\n";
        std::string why;
        EXPECT_EQ(PreviewEpsRenderer::RenderOnce(Bytes(eps), 10, 10, {}, &why), nullptr);
        EXPECT_EQ(why, "Ghostscript reported an error in it");
    }
    EXPECT_TRUE(std::filesystem::exists(secret));
    EXPECT_FALSE(std::filesystem::exists(written));
    // A loop that never ends is killed at the deadline.
    PreviewEpsRenderer::Limits limits;
    limits.seconds = 2;
    std::string why;
    const std::string loop = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n%%EndComments\n{ 1 pop } loop\nshowpage\n";
    EXPECT_EQ(PreviewEpsRenderer::RenderOnce(Bytes(loop), 10, 10, limits, &why), nullptr);
    EXPECT_EQ(why, "Ghostscript did not finish within 2 seconds");
}

TEST(PreviewEpsRenderer, Preview_DrawsEpsPicturesScaledToTheirFramesAndABrokenOneAsAPlaceholder)
{
    UIDRef document;
    PMString message;
    const auto path = std::filesystem::path(TESSEL_TEST_DATA_DIR) / "eps-pictures.mif";
    ASSERT_EQ(DocumentOpener::OpenFile(IDFile(path), kSuppressUI, document, message), kSuccess) << message.GetUTF8String();
    CmdUtils::ProcessScheduledCmds();
    DataBase* db = document.GetDataBase();
    std::string png;
    std::vector<std::string> problems;
    PreviewOptions options;
    options.dpi = 72;
    EXPECT_EQ(PreviewWriter::BuildPngs(*db, options, [&](int32, std::string_view image) {
                  png = std::string(image);
                  return kSuccess;
              }, &problems),
              kSuccess);
    DocumentList::Close(db);
    PreviewImage image(png);
    ASSERT_TRUE(image.IsValid());
    auto expect = [&](int x, int y, bool red) {
        int r, g, b;
        image.Pixel(x, y, r, g, b);
        if (red) EXPECT_TRUE(r > 200 && g < 50 && b < 50) << x << "," << y << ": " << r << " " << g << " " << b;
        else EXPECT_TRUE(r < 50 && g < 50 && b > 200) << x << "," << y << ": " << r << " " << g << " " << b;
    };
    // 144 x 72 pt: its halves side by side, to the frame's edges.
    expect(74, 108, true);
    expect(142, 108, true);
    expect(146, 108, false);
    expect(214, 108, false);
    // The same file squeezed into 72 x 72 pt.
    expect(74, 250, true);
    expect(106, 250, true);
    expect(110, 250, false);
    expect(142, 250, false);
    EXPECT_FALSE(image.IsInk(70, 108));
    EXPECT_FALSE(image.IsInk(218, 108));
    // The broken file: the grey placeholder, and one problem naming it.
    int r, g, b;
    image.Pixel(300, 100, r, g, b);
    EXPECT_TRUE(r == g && g == b && r > 180 && r < 240) << r << " " << g << " " << b;
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("eps-broken.eps"), std::string::npos) << problems[0];
}
