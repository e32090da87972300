#include "prefs/MifPresetRecord.h"

#include <algorithm>


namespace {

bool XferMode(IPMStream& stream, int32& mode)
{
    int32 value = mode;
    if (!stream.XferInt32(value)) return false;
    if (value == 1 || value == 2) mode = value;
    return true;
}

bool XferName(IPMStream& stream, PMString& text)
{
    if (!stream.XferString(text)) return false;
    text.SetTranslated();  // what the user typed is never a string key
    return true;
}

} // namespace

MifPresetRecord::MifPresetRecord() : mName("OV#0xB40#kMifCommonPresetNameKey") { mName.Translate(); }

void MifPresetRecord::SetName(const PMString& name)
{
    mName = name;
    mName.SetTranslated();
}

void MifPresetRecord::AddSubstitution(const MifFontKey& key, const MifIDFont& font)
{
    auto at = std::lower_bound(mSubstitutions.begin(), mSubstitutions.end(), key,
                               [](const auto& entry, const MifFontKey& k) { return entry.first < k; });
    if (at != mSubstitutions.end() && at->first == key)
        *at = {key, font};
    else
        mSubstitutions.insert(at, {key, font});
}

void MifPresetRecord::RemoveSubstitution(int32 index)
{
    if (index >= 0 && index < GetSubstitutionCount()) mSubstitutions.erase(mSubstitutions.begin() + index);
}

void MifPresetRecord::AddEncoding(const PMString& family, int32 encoding)
{
    auto at = std::lower_bound(mEncodings.begin(), mEncodings.end(), family,
                               [](const auto& entry, const PMString& f) { return entry.first < f; });
    if (at != mEncodings.end() && at->first == family)
        at->second = encoding;
    else
        mEncodings.insert(at, {family, encoding});
}

void MifPresetRecord::RemoveEncoding(int32 index)
{
    if (index >= 0 && index < GetEncodingCount()) mEncodings.erase(mEncodings.begin() + index);
}

bool MifPresetRecord::FindEncoding(const PMString& family, int32& encoding) const
{
    return MifFamilyEncodings::Find(mEncodings, family, encoding);
}

MifPresetRecord::StreamResult MifPresetRecord::ReadWrite(IPMStream& stream)
{
    return stream.IsReading() ? Read(stream) : Write(stream);
}

MifPresetRecord::StreamResult MifPresetRecord::Read(IPMStream& stream)
{
    int32 magic = 0, version = 0;
    if (!stream.XferInt32(magic)) return kStreamFailed;
    if (magic != kMagic) return kUnknownFormat;
    if (!stream.XferInt32(version)) return kStreamFailed;
    if (version != kVersion) return kUnknownFormat;
    if (!XferName(stream, mName)) return kStreamFailed;
    for (int32* mode : {&mLeading, &mComposer, &mCrossReferences, &mVariables, &mConditionalText})
        if (!XferMode(stream, *mode)) return kStreamFailed;

    // Counts are not trusted: every entry is read before it is kept, so a count that claims more
    // than the stream holds ends with the stream, never with an allocation.
    int32 count = 0;
    if (!stream.XferInt32(count) || count < 0) return kStreamFailed;
    for (int32 i = 0; i < count; ++i) {
        PMString fields[6];
        for (PMString& field : fields)
            if (!XferName(stream, field)) return kStreamFailed;
        AddSubstitution(MifFontKey(fields[0], fields[1], fields[2], fields[3]), MifIDFont(fields[4], fields[5]));
    }
    if (!stream.XferInt32(count) || count < 0) return kStreamFailed;
    for (int32 i = 0; i < count; ++i) {
        PMString family;
        int32 encoding = 0;
        if (!XferName(stream, family) || !stream.XferInt32(encoding)) return kStreamFailed;
        AddEncoding(family, encoding);
    }
    return kStreamDone;
}

MifPresetRecord::StreamResult MifPresetRecord::Write(IPMStream& stream)
{
    int32 magic = kMagic, version = kVersion;
    bool ok = stream.XferInt32(magic) && stream.XferInt32(version) && stream.XferString(mName);
    for (int32* mode : {&mLeading, &mComposer, &mCrossReferences, &mVariables, &mConditionalText})
        ok = ok && stream.XferInt32(*mode);
    int32 count = GetSubstitutionCount();
    ok = ok && stream.XferInt32(count);
    for (auto& [key, font] : mSubstitutions) {
        PMString fields[6] = {key.GetFamily(), key.GetAngle(), key.GetWeight(), key.GetVariation(),
                              font.GetFamily(), font.GetStyle()};
        for (PMString& field : fields) ok = ok && stream.XferString(field);
    }
    count = GetEncodingCount();
    ok = ok && stream.XferInt32(count);
    for (auto& [family, encoding] : mEncodings) ok = ok && stream.XferString(family) && stream.XferInt32(encoding);
    return ok ? kStreamDone : kStreamFailed;
}
