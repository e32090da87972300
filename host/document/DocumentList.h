// DocumentList: the session's open documents. Each document is one database.
#pragma once

#include <memory>
#include <vector>

#include "DataBase.h"

namespace DocumentList {
// Creates an empty document (a database holding just its Document object); owned by the list.
DataBase* NewDataBase();
// Closes the document and frees its database; false when it is not open.
bool Close(DataBase* db);
// Whether `db` is an open document.
bool IsOpen(const DataBase* db);
std::vector<DataBase*> GetDocuments();
}
