// ZipArchiveWriter: packs named entries into a ZIP archive in memory (through libzip).
//
// Entries keep the order given, so a package can put its signature entry first. Every entry
// carries the same fixed date (2000-01-01 00:00, as ZIP's DOS time, which has no time zone) and
// no extra fields, so the same entries always give the same bytes.
#pragma once

#include <string>
#include <vector>

#include "PMTypes.h"

struct ZipEntry {
    std::string name;       // "Resources/Graphic.xml": folders separated by '/'
    std::string data;
    bool compress = true;   // false: stored as is (a package's mimetype entry)
    // More of the entry's bytes, after `data`: a long entry made in pieces is packed without
    // joining them.
    std::vector<std::string> pieces;
};

class ZipArchiveWriter {
public:
    // Packs `entries` into `*archive`. kSuccess, or kOutOfMemoryError / kFailure when libzip
    // fails (then `*archive` is empty).
    static ErrorCode Pack(const std::vector<ZipEntry>& entries, std::string* archive);
};
