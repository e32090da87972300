// MifFileUtils: MIF paths and file names.
#pragma once

#include "mif/IMifFileUtils.h"

class MifFileUtils : public IMifFileUtils {
public:
    IDFile ResolveDIPath(const IDFile& baseFile, const PMString& diPath) const override;
    IDFile ResolveDecodedDIPath(const IDFile& baseFile, const PMString& diPath) const override;
    IDFile ReplaceExtension(const IDFile& file, const PMString& extension) const override;

private:
    static IDFile Resolve(const IDFile& baseFile, const PMString& diPath, bool escaped);
};
