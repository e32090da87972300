#include "PreviewFaces.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include "FontCache.h"

PreviewFaces::PreviewFaces()
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) == 0) mLibrary = library;
}

PreviewFaces::~PreviewFaces()
{
    for (const auto& [entry, face] : mFaces)
        if (face) cairo_font_face_destroy(face);
    if (mLibrary) FT_Done_FreeType(static_cast<FT_Library>(mLibrary));
}

cairo_font_face_t* PreviewFaces::Get(const FontFaceEntry* entry)
{
    if (!entry) return nullptr;
    auto it = mFaces.find(entry);
    if (it != mFaces.end()) return it->second;
    cairo_font_face_t* face = Make(*entry);
    mFaces.emplace(entry, face);
    return face;
}

cairo_font_face_t* PreviewFaces::Make(const FontFaceEntry& entry)
{
    std::string name = entry.family.GetUTF8String();
    if (!entry.style.IsEmpty()) name.append(" ").append(entry.style.GetUTF8String());
    if (entry.file.empty()) {
        mProblems.push_back("no font file was found for " + name + "; its text is not drawn");
        return nullptr;
    }
    // Tried here, so that a bad file is reported once, rather than failing each drawing call.
    FT_Face probe = nullptr;
    if (!mLibrary || FT_New_Face(static_cast<FT_Library>(mLibrary), entry.file.c_str(), entry.index, &probe) != 0) {
        mProblems.push_back("the font file " + entry.file + " (face " + std::to_string(entry.index) + ", for " + name +
                            ") cannot be loaded; its text is not drawn");
        return nullptr;
    }
    FT_Done_Face(probe);
    // cairo opens the file itself from a pattern naming it, and so owns the FreeType face and its
    // lifetime (its own caches may keep it past ours).
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return nullptr;
    FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(entry.file.c_str()));
    FcPatternAddInteger(pattern, FC_INDEX, entry.index);
    // Glyphs go exactly where the composer put them: no hinting to move outlines or advances.
    FcPatternAddBool(pattern, FC_HINTING, FcFalse);
    cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(pattern);
    FcPatternDestroy(pattern);
    if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(face);
        mProblems.push_back("the font file " + entry.file + " (for " + name + ") cannot be used; its text is not drawn");
        return nullptr;
    }
    return face;
}
