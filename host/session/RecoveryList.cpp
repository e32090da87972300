#include "RecoveryList.h"

#include <algorithm>
#include <vector>

namespace {
std::vector<const DataBase*>& Documents()
{
    static std::vector<const DataBase*> documents;
    return documents;
}
} // namespace

void RecoveryList::AddDocument(DataBase* db)
{
    if (db && !Contains(db)) Documents().push_back(db);
}

bool RecoveryList::Contains(const DataBase* db) { return std::find(Documents().begin(), Documents().end(), db) != Documents().end(); }
