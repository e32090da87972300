#include "IdmlWriter.h"

#include <new>

#include "AtomicFileWriter.h"
#include "DataBase.h"
#include "DocumentList.h"
#include "ErrorUtils.h"
#include "IdmlContext.h"
#include "IdmlCrossReferenceWriter.h"
#include "IdmlDesignMapWriter.h"
#include "IdmlFontsWriter.h"
#include "IdmlGraphicWriter.h"
#include "IdmlPackageBuilder.h"
#include "IdmlPreferencesWriter.h"
#include "IdmlSpreadWriter.h"
#include "IdmlStoryWriter.h"
#include "IdmlStylesWriter.h"
#include "Phase2Conversion.h"

namespace {

ErrorCode Build(const DataBase& db, std::string* package)
{
    if (!db.GetDocument()) return kInvalidParameterError;
    IdmlPackageBuilder builder;
    IdmlContext context(db, builder);
    if (context.GetNumbering().GetPages().empty()) return kInvalidParameterError;
    // The builder puts the parts in the order readers need, so this order only has to satisfy
    // the writers themselves: masters before the pages that apply them, stories before the
    // design map's list of stories.
    IdmlGraphicWriter::Write(context);
    IdmlFontsWriter::Write(context);
    IdmlStylesWriter::Write(context);
    IdmlPreferencesWriter::Write(context);
    IdmlSpreadWriter::WriteMasterSpreads(context);
    IdmlSpreadWriter::WriteSpreads(context);
    IdmlStoryWriter::Write(context);
    IdmlCrossReferenceWriter::Write(context);
    IdmlDesignMapWriter::Write(context);
    return builder.Pack(package);
}

} // namespace

ErrorCode IdmlWriter::BuildPackage(const DataBase& db, std::string* package)
{
    // The package is the host's own format: an open document first goes through the second
    // conversion phase, in which the plug-ins take their own data out of it.
    for (DataBase* open : DocumentList::GetDocuments())
        if (open == &db) Phase2Conversion::Run(*open);
    ErrorCode result = kFailure;
    try {
        result = Build(db, package);
    } catch (const std::bad_alloc&) {
        result = kOutOfMemoryError;
    } catch (...) {
        result = kFailure;
    }
    if (result != kSuccess) package->clear();
    return result;
}

ErrorCode IdmlWriter::Write(const DataBase& db, const IDFile& out)
{
    std::string package;
    ErrorCode result = BuildPackage(db, &package);
    if (result == kSuccess) result = AtomicFileWriter::Write(out, package);
    if (result != kSuccess) ErrorUtils::PMSetGlobalErrorCode(result);
    return result;
}
