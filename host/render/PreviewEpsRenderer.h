// PreviewEpsRenderer: the pictures of EPS files for the preview, drawn by Ghostscript through
// libspectre across the file's bounding box.
//
// PostScript is a program, and a MIF file may link any file, so it never runs in the preview's
// own process: each picture is drawn in a child process, with Ghostscript's file access limited
// to its own resources (-dSAFER, which libspectre passes; Ghostscript 10 has it on by default as
// well), its messages discarded, its processor time and memory limited, and a deadline after
// which it is killed. The child hands back the pixels through a pipe, and the answer is checked
// against the size asked for. A file that cannot be drawn for any reason (no PostScript, a
// PostScript error, a crash, a loop, the wrong number of pixels) gives no picture, and the
// caller draws its placeholder.
//
// Pictures are kept for the renderer's life (one preview) by file and size, and failures by
// file: a picture placed on every page is drawn once, and a file that runs into the deadline
// costs it once.
#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

class PreviewEpsRenderer {
public:
    // How much a child may take.
    struct Limits {
        double seconds = 20;                 // wall-clock time, from the fork to the last byte
        size_t memory = size_t(1) << 30;     // address space beyond the preview's own (not set under
                                             // AddressSanitizer, whose shadow memory needs terabytes)
    };
    // The longest side of a picture, in pixels; larger requests are refused.
    static constexpr int kMaxSide = 4096;
    // The most bytes of pictures kept; pictures past it are drawn again when asked for again.
    static constexpr size_t kMaxKeptBytes = size_t(256) << 20;

    PreviewEpsRenderer() = default;
    explicit PreviewEpsRenderer(const Limits& limits) : mLimits(limits) {}
    ~PreviewEpsRenderer();
    PreviewEpsRenderer(const PreviewEpsRenderer&) = delete;
    PreviewEpsRenderer& operator=(const PreviewEpsRenderer&) = delete;

    // The picture of the EPS file `bytes`, `width` x `height` pixels, its bounding box filling
    // them (an opaque RGB24 surface on white). `key` names the file (its path), for the pictures
    // and failures kept; `name` is what a problem calls it. Null when it cannot be drawn. The
    // surface stays owned here, valid for the renderer's life.
    cairo_surface_t* Render(const std::string& key, const std::string& name, const std::vector<unsigned char>& bytes,
                            int width, int height);
    // Whether `key` was found undrawable before (Render would not try it again).
    bool HasFailed(const std::string& key) const { return mFailed.count(key) != 0; }
    // Whether a picture of `key` at that size is kept (Render would not run Ghostscript).
    bool IsKept(const std::string& key, int width, int height) const { return mKept.count({key, {width, height}}) != 0; }
    // One line per file that could not be drawn, in the order they were met.
    const std::vector<std::string>& GetProblems() const { return mProblems; }
    // How many children were started.
    int RenderCount() const { return mRenders; }

    // Draws `bytes` in a child process, nothing kept; null, with `why` saying why, when it
    // cannot.
    static cairo_surface_t* RenderOnce(const std::vector<unsigned char>& bytes, int width, int height, const Limits& limits,
                                       std::string* why = nullptr);

private:
    Limits mLimits;
    std::map<std::pair<std::string, std::pair<int, int>>, cairo_surface_t*> mKept;
    std::set<std::string> mFailed;
    std::vector<std::string> mProblems;
    size_t mKeptBytes = 0;
    cairo_surface_t* mTransient = nullptr;  // the last picture past the budget
    int mRenders = 0;
};
