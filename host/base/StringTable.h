// StringTable: the translations of string keys ("OV#0xB40#kMifParsingMIFKey") into their texts.
//
// Plug-ins register their tables per locale when they are loaded; PMString::Translate() looks
// keys up in the tables of the current locale, then in "enUS".
#pragma once

#include <map>
#include <string>

#include "PMString.h"

struct StringTableEntry {
    const char* key;   // UTF-8
    const char* text;  // UTF-8
};

class StringTable {
public:
    static StringTable& Get();

    // Adds `count` entries for `locale` ("enUS"); a later entry for the same key replaces the earlier one.
    void Register(const std::string& locale, const StringTableEntry* entries, size_t count);
    // The text for `key` in the current locale (falling back to "enUS"), or null when it is no key.
    const PMString* Lookup(const PMString& key) const;

    void SetLocale(const std::string& locale) { mLocale = locale; }
    const std::string& GetLocale() const { return mLocale; }

private:
    std::string mLocale = "enUS";
    std::map<std::string, std::map<std::u16string, PMString>> mTables;
};
