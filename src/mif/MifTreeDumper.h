// MifTreeDumper: IMifTreeDumper over MifTreePrinter and the parser beside it.
#pragma once

#include "mif/IMifTreeDumper.h"

class MifTreeDumper : public IMifTreeDumper {
public:
    void Dump(const MifObject& root, std::string& out) const override;
    Stats GetStats(const MifObject& root) const override;
    void DeleteTree(MifObject* root) const override;
};
