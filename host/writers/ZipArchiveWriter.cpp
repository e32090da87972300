#include "ZipArchiveWriter.h"

#include <new>
#include <zip.h>

namespace {

// 2000-01-01 00:00:00 in MS-DOS form: date = (year - 1980) << 9 | month << 5 | day, time = 0.
constexpr zip_uint16_t kDosDate = (2000 - 1980) << 9 | 1 << 5 | 1;
constexpr zip_uint16_t kDosTime = 0;

ErrorCode ErrorOf(const zip_error_t* error)
{
    return zip_error_code_zip(error) == ZIP_ER_MEMORY ? kOutOfMemoryError : kFailure;
}

// Adds one entry. libzip reads the entry's data in place when the archive is closed, which
// happens before Pack returns, so the data is not copied: a package of many parts would
// otherwise be held twice.
bool AddEntry(zip_t* archive, const ZipEntry& entry)
{
    std::vector<zip_buffer_fragment_t> fragments;
    if (!entry.data.empty()) fragments.push_back({reinterpret_cast<zip_uint8_t*>(const_cast<char*>(entry.data.data())), entry.data.size()});
    for (const std::string& piece : entry.pieces)
        if (!piece.empty()) fragments.push_back({reinterpret_cast<zip_uint8_t*>(const_cast<char*>(piece.data())), piece.size()});
    zip_source_t* source = zip_source_buffer_fragment(archive, fragments.data(), fragments.size(), 0);
    if (!source) return false;
    zip_int64_t index = zip_file_add(archive, entry.name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        return false;
    }
    auto i = static_cast<zip_uint64_t>(index);
    return zip_set_file_compression(archive, i, entry.compress ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0) == 0 &&
           zip_file_set_dostime(archive, i, kDosTime, kDosDate, 0) == 0;
}

// Copies what the in-memory source holds after the archive was closed.
bool ReadBack(zip_source_t* source, std::string* archive)
{
    if (zip_source_open(source) < 0) return false;
    bool ok = zip_source_seek(source, 0, SEEK_END) == 0;
    zip_int64_t size = ok ? zip_source_tell(source) : -1;
    ok = size >= 0 && zip_source_seek(source, 0, SEEK_SET) == 0;
    try {
        if (ok) archive->resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (ok) ok = zip_source_read(source, archive->data(), static_cast<zip_uint64_t>(size)) == size;
    zip_source_close(source);
    return ok;
}

} // namespace

ErrorCode ZipArchiveWriter::Pack(const std::vector<ZipEntry>& entries, std::string* archive)
{
    archive->clear();
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* memory = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* zip = memory ? zip_open_from_source(memory, ZIP_TRUNCATE, &error) : nullptr;
    ErrorCode result = zip ? kSuccess : ErrorOf(&error);
    zip_error_fini(&error);
    if (!zip) {
        if (memory) zip_source_free(memory);
        return result;
    }
    zip_source_keep(memory);  // the archive lets go of the source when closed; we read it after
    for (size_t i = 0; result == kSuccess && i < entries.size(); ++i)
        if (!AddEntry(zip, entries[i])) result = ErrorOf(zip_get_error(zip));
    if (result == kSuccess && zip_close(zip) < 0) result = ErrorOf(zip_get_error(zip));
    if (result != kSuccess) zip_discard(zip);  // a closed archive is already gone
    if (result == kSuccess && !ReadBack(memory, archive)) result = kFailure;
    if (result != kSuccess) archive->clear();
    zip_source_free(memory);
    return result;
}
