// MifDocInterface: the interface `I` of a document's own object (where the importers, the import
// options and the error log of an import live), typed, or null.
//
//     InterfacePtr<IMifImportOptions> options = MifDocInterface<IMifImportOptions>(db);
#pragma once

#include "DataBase.h"
#include "InterfacePtr.h"

template <class I>
InterfacePtr<I> MifDocInterface(DataBase* db)
{
    return InterfacePtr<I>(db ? static_cast<I*>(db->QueryDocInterface(I::kDefaultIID)) : nullptr);
}
