// RecoveryList: the documents the session keeps recovery data for. A document made by an import
// is handed to it so that it is treated like any document the user made.
#pragma once

class DataBase;

namespace RecoveryList {
void AddDocument(DataBase* db);
bool Contains(const DataBase* db);
}
