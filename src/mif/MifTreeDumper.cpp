#include "mif/MifTreeDumper.h"

#include "InterfacePtr.h"

#include "mif/IMifParser.h"
#include "mif/MifObject.h"
#include "mif/MifParser.h"
#include "mif/MifTreePrinter.h"

void MifTreeDumper::Dump(const MifObject& root, std::string& out) const { MifTreePrinter::Print(root, out); }

IMifTreeDumper::Stats MifTreeDumper::GetStats(const MifObject& root) const
{
    Stats stats;
    stats.statements = MifTreePrinter::CountStatements(root);
    InterfacePtr<IMifParser> mifParser(this, IID_IMIFPARSER);
    // The parser on this object is always ours.
    if (auto* parser = static_cast<MifParser*>(mifParser.get())) {
        stats.errors = parser->GetErrorCount();
        stats.bytes = parser->GetSize();
        stats.version = parser->GetVersion();
    }
    return stats;
}

void MifTreeDumper::DeleteTree(MifObject* root) const { delete root; }
