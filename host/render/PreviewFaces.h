// PreviewFaces: the cairo font faces the preview draws glyphs with, one per face the composer
// measured with (FontFaceEntry), so that glyph ids and metrics are the composer's own.
//
// Each face is made once, from the entry's font file and face index; cairo loads the file
// itself (through FreeType) and keeps it for as long as it draws with it. A file that cannot be
// loaded is found out when the face is first asked for: it gets no cairo face, and one problem
// names it, however many runs use it.
#pragma once

#include <map>
#include <string>
#include <vector>

struct FontFaceEntry;
typedef struct _cairo_font_face cairo_font_face_t;

class PreviewFaces {
public:
    PreviewFaces();
    ~PreviewFaces();
    PreviewFaces(const PreviewFaces&) = delete;
    PreviewFaces& operator=(const PreviewFaces&) = delete;

    // The cairo face for `entry` (owned here); null when its font file cannot be loaded (or
    // `entry` is null).
    cairo_font_face_t* Get(const FontFaceEntry* entry);
    // One line per face that could not be loaded, in the order they were met.
    const std::vector<std::string>& GetProblems() const { return mProblems; }
    // How many faces were made (loaded or found unloadable).
    size_t Count() const { return mFaces.size(); }

private:
    cairo_font_face_t* Make(const FontFaceEntry& entry);

    std::map<const FontFaceEntry*, cairo_font_face_t*> mFaces;  // null for unloadable faces
    std::vector<std::string> mProblems;
    void* mLibrary = nullptr;  // FT_Library, to try each file once before cairo takes it
};
