#include "mif/MifFileUtils.h"

namespace fs = std::filesystem;

IDFile MifFileUtils::ResolveDIPath(const IDFile& baseFile, const PMString& diPath) const
{
    return Resolve(baseFile, diPath, true);
}

IDFile MifFileUtils::ResolveDecodedDIPath(const IDFile& baseFile, const PMString& diPath) const
{
    return Resolve(baseFile, diPath, false);
}

IDFile MifFileUtils::Resolve(const IDFile& baseFile, const PMString& diPath, bool escaped)
{
    const std::u16string& text = diPath.GetUTF16();
    // A marker is '<', its letter, a backslash in the escaped form, and '>'.
    const size_t markerLength = escaped ? 4 : 3;
    auto isMarker = [&](size_t i) {
        return i + markerLength <= text.size() && text[i] == '<' && (!escaped || text[i + 2] == '\\') &&
               text[i + markerLength - 1] == '>';
    };
    bool absolute = text.size() > 1 && text[0] == '<' && (text[1] == 'v' || text[1] == 'r');
    // From the absolute folder: "<u\>" climbs the real folders, never past the folder a relative
    // name happens to start from.
    std::error_code error;
    const fs::path base = fs::absolute(baseFile.GetPath(), error);
    fs::path path = absolute ? fs::path("/") : (error ? baseFile.GetPath() : base).parent_path();
    std::u16string component;
    bool inVolume = false;  // a volume's name has no place in a path here
    auto flush = [&] {
        if (!component.empty() && !inVolume) {
            std::string name = PMString(component).GetUTF8String();
            if (name != "." && name != "..") path /= name;  // a component never climbs on its own
        }
        component.clear();
        inVolume = false;
    };
    for (size_t i = 0; i < text.size();) {
        if (isMarker(i)) {
            char16_t kind = text[i + 1];
            flush();
            if (kind == 'u' && path.has_relative_path()) path = path.parent_path();
            if (kind == 'v') inVolume = true;
            i += markerLength;
            continue;
        }
        if (text[i] == '/' && !escaped) {
            flush();
            ++i;
            continue;
        }
        component.push_back(text[i++]);
    }
    flush();
    return IDFile(path);
}

IDFile MifFileUtils::ReplaceExtension(const IDFile& file, const PMString& extension) const
{
    std::string name = file.GetPath().filename().string();
    std::string ext = extension.GetUTF8String();
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && name.size() - dot - 1 <= 4)
        name = name.substr(0, dot + 1) + ext;
    else
        name += "." + ext;
    return IDFile(file.GetPath().parent_path() / name);
}
