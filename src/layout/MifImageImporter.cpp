#include "layout/MifImageImporter.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

#include "CmdUtils.h"
#include "DataBase.h"
#include "ErrorUtils.h"
#include "FileChooser.h"
#include "GraphicFileFormat.h"
#include "IImportProvider.h"
#include "ObjectModel.h"
#include "PageItemCommands.h"
#include "PlaceGraphicCommands.h"

#include "base/IMifErrorLog.h"
#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"
#include "base/MifProblemReporter.h"
#include "mif/IMifFileUtils.h"
#include "mif/MifFacetList.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "prefs/IMifImportOptions.h"

namespace {

struct FacetKind {
    const char* name;
    const char* extension;
};
constexpr FacetKind kFacets[] = {{"TIFF", ".tif"}, {"EPSI", ".eps"}, {"JPEG", ".jpg"}, {"PICT", ".pict"}, {"DIB", ".bmp"}, {"GIF", ".gif"}};

// A DIB facet is a bitmap without the file header that a .bmp file starts with: the header is
// put in front, pointing at the pixels behind the info header and the palette.
std::vector<uchar> BmpFromDib(const uchar* data, int32 size)
{
    std::vector<uchar> bytes;
    if (!data || size < 40) return bytes;
    auto read32 = [data](int at) { return uint32(data[at]) | uint32(data[at + 1]) << 8 | uint32(data[at + 2]) << 16 | uint32(data[at + 3]) << 24; };
    uint32 infoSize = read32(0);
    uint32 bits = uint32(data[14]) | uint32(data[15]) << 8;
    uint32 colors = read32(32);
    if (colors == 0 && bits <= 8) colors = 1u << bits;
    uint64 offset = 14 + uint64(infoSize) + uint64(colors) * 4;
    if (offset > uint64(size) + 14) offset = 14 + infoSize;
    uint32 total = static_cast<uint32>(size) + 14;
    bytes = {'B', 'M'};
    for (uint32 value : {total, 0u, static_cast<uint32>(offset)})
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uchar>(value >> (8 * i)));
    bytes.insert(bytes.end(), data, data + size);
    return bytes;
}

bool SameContents(const IDFile& file, const std::vector<uchar>& bytes)
{
    std::vector<unsigned char> contents;
    return GraphicFileFormat::ReadFile(file, contents) && contents == bytes;
}

bool WriteBytes(const IDFile& file, const std::vector<uchar>& bytes)
{
    std::ofstream out(file.GetPath(), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

// Whether `path` names `folder` itself or something in it, by the names alone.
bool NamesInside(const std::filesystem::path& path, const std::filesystem::path& folder)
{
    auto rel = path.lexically_relative(folder);
    return !rel.empty() && *rel.begin() != "..";
}

} // namespace

bool MifImageImporter::IsInside(const IDFile& file, const IDFile& folder)
{
    namespace fs = std::filesystem;
    std::error_code error;
    // An empty name is the current folder (the folder of "x.mif").
    auto named = [](const IDFile& f) { return f.GetPath().empty() ? fs::path(".") : f.GetPath(); };
    fs::path f = fs::absolute(named(file), error).lexically_normal();
    if (error) return false;
    fs::path d = fs::absolute(named(folder), error).lexically_normal();
    if (error || f.filename().empty()) return false;
    if (d.filename().empty()) d = d.parent_path();   // "a/b/" names the folder "a/b"
    // A path whose names climb out is outside, and the file system is not asked about it.
    if (!NamesInside(f, d)) return false;
    // Links are followed where they exist: one in the folder that leads out counts as outside.
    fs::path realFile = fs::weakly_canonical(f, error);
    if (error) return false;
    fs::path realFolder = fs::weakly_canonical(d, error);
    if (error) return false;
    return NamesInside(realFile, realFolder) && realFile != realFolder;
}

int32 MifImageImporter::FacetRank(const PMString& name)
{
    for (int32 i = 0; i < static_cast<int32>(std::size(kFacets)); ++i)
        if (name == PMString(kFacets[i].name)) return i;
    return -1;
}

void MifImageImporter::Init(DataBase* db, IMifErrorLog* errors, const IDFile& mifFile, int32 uiFlags, const IMifImportOptions* options)
{
    mOptions = options;
    mDB = db;
    mErrors = errors;
    mMifFile = mifFile;
    mUIFlags = uiFlags;
}

IDFile MifImageImporter::NextTemporaryName(const IDFile& folder, const std::string& extension)
{
    // The MIF file's name less its last four characters (".mif"), "image" and a running number;
    // a name some other file already has is passed over, so that no file of the user's is
    // overwritten (and deleted at the end).
    std::string stem = mMifFile.GetFileName().GetUTF8String();
    stem = stem.size() > 4 ? stem.substr(0, stem.size() - 4) : std::string();
    for (;;) {
        IDFile candidate = folder.Child(PMString(stem + "image" + std::to_string(++mImageCount) + extension));
        std::error_code error;
        if (!std::filesystem::exists(candidate.GetPath(), error)) return candidate;
    }
}

IDFile MifImageImporter::EmbeddedFile(const MifObject& mifImportObject, const MifFacetList& facets)
{
    int32 best = -1, bestRank = 0;
    for (int32 i = 0; i < facets.GetCount(); ++i) {
        int32 rank = FacetRank(facets.GetName(i));
        if (rank >= 0 && (best < 0 || rank < bestRank)) {
            best = i;
            bestRank = rank;
        }
    }
    if (best < 0 || facets.GetSize(best) <= 0) {
        MifProblemReporter(mErrors).Report({mifImportObject.line, "Can't import embedded image, unsupported facet", PMString()});
        return IDFile();
    }
    std::vector<uchar> bytes = bestRank == 4 ? BmpFromDib(facets.GetData(best), facets.GetSize(best))
                                             : std::vector<uchar>(facets.GetData(best), facets.GetData(best) + facets.GetSize(best));
    if (bytes.empty()) {
        MifProblemReporter(mErrors).Report({mifImportObject.line, "Can't import embedded image, unsupported facet", PMString()});
        return IDFile();
    }
    // Identical data shares one file. The CRC alone could match different data, so the file's
    // bytes are compared before it is reused.
    uint32 crc = MifFacetList::ComputeCRC32(bytes.data(), bytes.size());
    if (auto known = mFilesByCRC.find(crc); known != mFilesByCRC.end() && SameContents(known->second, bytes)) return known->second;
    IDFile file = NextTemporaryName(mMifFile.GetParent(), kFacets[bestRank].extension);
    if (!WriteBytes(file, bytes)) {
        std::error_code error;
        std::filesystem::remove(file.GetPath(), error);
        MifProblemReporter(mErrors).Report({mifImportObject.line, "Can't create temporary image file: ", file.GetPathString()});
        std::filesystem::path temp = std::filesystem::temp_directory_path(error);
        if (error) return IDFile();
        IDFile fallback = NextTemporaryName(IDFile(temp), kFacets[bestRank].extension);
        if (!WriteBytes(fallback, bytes)) {
            std::filesystem::remove(fallback.GetPath(), error);
            MifProblemReporter(mErrors).Report({mifImportObject.line, "Can't create temporary image file: ", fallback.GetPathString()});
            return IDFile();
        }
        if (!mToldTemporaryFolder)
            MifProblemReporter(mErrors).Report({0, "The folder of the MIF file cannot be written, embedded images are written to the temporary folder: ",
                   IDFile(temp).GetPathString()});
        mToldTemporaryFolder = true;
        file = fallback;
    }
    mTemporaryFiles.push_back(file);
    mFilesByCRC[crc] = file;
    return file;
}

IDFile MifImageImporter::LinkedFile(const MifObject& mifImportObject, PMString& diPath, int32& line, bool& inside) const
{
    inside = false;
    const MifProp* prop = mifImportObject.FindProp(kMifImportObFileDI);
    if (!prop || !MifIsStringType(prop->type) || !prop->value.rawString || prop->value.rawString->IsEmpty()) return IDFile();
    diPath = *prop->value.rawString;
    line = prop->line;
    Utils<IMifFileUtils> fileUtils;
    if (!fileUtils) {
        MIF_LOG_NIL(fileUtils);
        return IDFile();
    }
    // Files before MIF 8 have their strings decoded by the parser: their markers come without
    // the backslash ("<c>name" for "<c\>name").
    const bool escaped = diPath.GetUTF16().find(u"\\>") != std::u16string::npos;
    IDFile file = escaped ? fileUtils->ResolveDIPath(mMifFile, diPath) : fileUtils->ResolveDecodedDIPath(mMifFile, diPath);
    if (!file.GetFileName().IsEmpty()) {
        for (const IDFile& folder : FileChooser::GetGraphicSearchFolders()) {
            IDFile candidate = folder.Child(file.GetFileName());
            std::error_code error;
            if (IsInside(candidate, folder) && std::filesystem::is_regular_file(candidate.GetPath(), error)) {
                inside = true;
                return candidate;
            }
        }
    }
    inside = IsInside(file, mMifFile.GetParent());
    return file;
}

ErrorCode MifImageImporter::Place(const IDFile& file, const PMRect& bounds, UID spread, UID layer, UIDRef& frame)
{
    auto importAndPlaceCmd = std::make_shared<ImportAndPlaceCmd>();
    importAndPlaceCmd->SetItemList(UIDList(UIDRef(mDB, spread)));
    importAndPlaceCmd->file = file;
    importAndPlaceCmd->layer = layer;
    importAndPlaceCmd->bounds = bounds;
    ErrorCode result = CmdUtils::ProcessCommand(importAndPlaceCmd);
    if (result == kSuccess && !importAndPlaceCmd->GetItemList().IsEmpty()) frame = importAndPlaceCmd->GetItemList().GetRef(0);
    return result;
}

IDFile MifImageImporter::AskForReplacement(const IDFile& file)
{
    if (mUIFlags != kFullUI || mIgnoreMissing || !FileChooser::GetChooser()) return IDFile();
    PMString title(file.Exists() ? "OV#0xB40#kMifInvalidFileColonKey" : "OV#0xB40#kMifMissingFileColonKey");
    title.Translate();
    title.Append(" ");
    title.Append(file.GetPathString());
    std::vector<IDFile> resultFiles = FileChooser::ChooseFiles(title);
    if (resultFiles.size() == 1) return resultFiles[0];
    if (resultFiles.size() > 1) MifAssertLog::Write(__FILE__, __LINE__, "resultFiles.GetFileCount() == 1", MifAssertLog::kFalse);
    PMString question("OV#0xB40#kMifIgnoreRemainingMissingFilesKey");
    question.Translate();
    if (FileChooser::AskYesNo(question, false)) mIgnoreMissing = true;
    return IDFile();
}

UIDRef MifImageImporter::Import(const MifObject& mifImportObject, const PMRect& bounds, UID spread, UID layer)
{
    MifPropVal propVal;
    bool embedded = mifImportObject.GetPropVal(kMifInset, propVal) && propVal.facets;
    IDFile file;
    PMString diPath;
    int32 line = mifImportObject.line;
    if (embedded) {
        file = EmbeddedFile(mifImportObject, *propVal.facets);
        if (file.IsEmpty()) return UIDRef();
    } else {
        bool inside = false;
        file = LinkedFile(mifImportObject, diPath, line, inside);
        if (file.IsEmpty()) {
            MifProblemReporter(mErrors).Report({mifImportObject.line, "ImportObject names no file and holds no image, skipped", PMString()});
            return UIDRef();
        }
        // The MIF file may come from someone else: what it names elsewhere on this machine is
        // not opened, looked at or linked, unless the user allowed it.
        if (!inside && !(mOptions && mOptions->GetAllowOutsideImages())) {
            MifProblemReporter(mErrors).Report({line, "OV#0xB40#kMifImageOutsideFolderKey", file.GetPathString()});
            return UIDRef();
        }
    }
    std::string key = file.GetPath().string();
    if (auto chosen = mReplacements.find(key); chosen != mReplacements.end()) file = chosen->second;
    UIDRef frame;
    for (;;) {
        ErrorCode result = Place(file, bounds, spread, layer, frame);
        ErrorUtils::PMSetGlobalErrorCode(kSuccess);
        if (result == kSuccess) break;
        if (embedded) {
            MifProblemReporter(mErrors).Report({line, "Can't import embedded image, unsupported facet", PMString()});
            return UIDRef();
        }
        IDFile replacement = AskForReplacement(file);
        if (replacement.IsEmpty()) {
            MifProblemReporter(mErrors).Report({line, "Can't import image file:", file.GetPathString()});
            return UIDRef();
        }
        mReplacements[key] = replacement;
        file = replacement;
    }
    if (embedded) {
        // The temporary file goes when the import ends: the document keeps the image's bytes.
        auto moveLinkCmd = std::make_shared<MoveLinkCmd>();
        moveLinkCmd->boolData = true;
        MIF_RUN_COMMAND(moveLinkCmd, UIDList(frame));
    }
    if (mifImportObject.GetBool(kMifFlipLR)) {
        // Mirrored about the frame's vertical centre line.
        PMReal centre = (bounds.left + bounds.right) / 2;
        auto transformCmd = std::make_shared<TransformPageItemsCmd>();
        transformCmd->transform = PMMatrix{-1, 0, 0, 1, 2 * centre, 0};
        MIF_RUN_COMMAND(transformCmd, UIDList(frame));
    }
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
    return frame;
}

void MifImageImporter::DeleteTemporaryFiles()
{
    for (const IDFile& file : mTemporaryFiles) {
        std::error_code error;
        if (!std::filesystem::remove(file.GetPath(), error) && error) MIF_LOG_FAILED(std::filesystem::remove(file.GetPath(), error));
    }
    mTemporaryFiles.clear();
    mFilesByCRC.clear();
}
