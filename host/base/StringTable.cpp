#include "StringTable.h"

StringTable& StringTable::Get()
{
    static StringTable table;
    return table;
}

void StringTable::Register(const std::string& locale, const StringTableEntry* entries, size_t count)
{
    auto& table = mTables[locale];
    for (size_t i = 0; i < count; ++i) {
        PMString text(entries[i].text);
        text.SetTranslated();
        table[PMString(entries[i].key).GetUTF16()] = text;
    }
}

const PMString* StringTable::Lookup(const PMString& key) const
{
    for (const std::string& locale : {mLocale, std::string("enUS")}) {
        auto table = mTables.find(locale);
        if (table == mTables.end()) continue;
        auto entry = table->second.find(key.GetUTF16());
        if (entry != table->second.end()) return &entry->second;
    }
    return nullptr;
}
