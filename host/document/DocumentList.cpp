#include "DocumentList.h"

#include <algorithm>

namespace {
std::vector<std::unique_ptr<DataBase>>& Documents()
{
    static std::vector<std::unique_ptr<DataBase>> documents;
    return documents;
}
} // namespace

DataBase* DocumentList::NewDataBase()
{
    Documents().push_back(std::make_unique<DataBase>());
    return Documents().back().get();
}

bool DocumentList::Close(DataBase* db)
{
    auto& docs = Documents();
    auto it = std::find_if(docs.begin(), docs.end(), [db](const auto& d) { return d.get() == db; });
    if (it == docs.end()) return false;
    docs.erase(it);
    return true;
}

bool DocumentList::IsOpen(const DataBase* db)
{
    const auto& docs = Documents();
    return std::any_of(docs.begin(), docs.end(), [db](const auto& d) { return d.get() == db; });
}

std::vector<DataBase*> DocumentList::GetDocuments()
{
    std::vector<DataBase*> result;
    for (const auto& d : Documents()) result.push_back(d.get());
    return result;
}
