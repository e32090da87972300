// MifImageImporter: turns ImportObject statements into graphic frames holding the image.
//
// Handles: ImportObFileDI (resolved against the MIF file's folder; the folders of --images are
// looked in first for a file of that name; a path that leads out of the MIF file's folder, by
// its names or through a link, is reported and neither opened nor linked unless the import
// options allow it), embedded insets (the best facet by the order TIFF,
// EPSI, JPEG, PICT, DIB, GIF, written to a temporary file beside the MIF file, or in the
// system's temporary folder when that folder cannot be written; identical facet data shares one
// file), FlipLR. A linked file that cannot be placed asks for a replacement with the host's file
// dialog when the import has the full user interface, until the user chooses to ignore the
// remaining missing files. Embedded images are embedded in the document, so the temporary files
// can go when the import ends. Passes over: ImportObFile, ImportObUpdater, BitMapDpi,
// NativeOrigin, the other facets.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "IDFile.h"
#include "PMGeometry.h"
#include "UIDRef.h"

class DataBase;
class IMifErrorLog;
class IMifImportOptions;
class MifFacetList;
class MifObject;

class MifImageImporter {
public:
    // The facet names in the order they are preferred, and the extension each is written with.
    static int32 FacetRank(const PMString& name);   // 0 for TIFF ... 5 for GIF; -1 for others

    // `options` (may be null: nothing outside is read) says whether images outside the MIF file's
    // folder may be read.
    void Init(DataBase* db, IMifErrorLog* errors, const IDFile& mifFile, int32 uiFlags, const IMifImportOptions* options);
    // Whether `file` is `folder`'s or lies below it: by the names alone first (a path that
    // climbs out is outside, and the file system is not asked about it), then with links
    // followed where they exist (a link in the folder that leads out is outside).
    static bool IsInside(const IDFile& file, const IDFile& folder);
    // Makes the frame of `mifImportObject` with the corners of `bounds` (spread coordinates) on
    // `spread`, in `layer`; the null reference when nothing could be placed (reported).
    UIDRef Import(const MifObject& mifImportObject, const PMRect& bounds, UID spread, UID layer);
    // The temporary files written so far.
    const std::vector<IDFile>& GetTemporaryFiles() const { return mTemporaryFiles; }
    // Deletes the temporary files; the ones that cannot be deleted are reported.
    void DeleteTemporaryFiles();

private:
    // The file that holds the inset's best facet, written now or earlier for the same data;
    // empty (reported) when there is none.
    IDFile EmbeddedFile(const MifObject& mifImportObject, const MifFacetList& facets);
    // The file a linked ImportObject names: in a search folder, else as resolved; `inside` says
    // whether it lies in the search folder or the MIF file's folder.
    IDFile LinkedFile(const MifObject& mifImportObject, PMString& diPath, int32& line, bool& inside) const;
    // Places `file`; kSuccess with `frame` set, else the host's error.
    ErrorCode Place(const IDFile& file, const PMRect& bounds, UID spread, UID layer, UIDRef& frame);
    // Asks the user for a replacement of `file`; empty when none was chosen.
    IDFile AskForReplacement(const IDFile& file);
    // A name not yet taken for the next temporary file, in `folder`.
    IDFile NextTemporaryName(const IDFile& folder, const std::string& extension);

    DataBase* mDB = nullptr;
    IMifErrorLog* mErrors = nullptr;
    const IMifImportOptions* mOptions = nullptr;
    IDFile mMifFile;
    int32 mUIFlags = 0;
    int32 mImageCount = 0;
    std::map<uint32, IDFile> mFilesByCRC;
    std::vector<IDFile> mTemporaryFiles;
    std::map<std::string, IDFile> mReplacements;   // a path that failed to the file chosen for it
    bool mIgnoreMissing = false;
    bool mToldTemporaryFolder = false;
};
