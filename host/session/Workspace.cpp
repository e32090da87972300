#include "Workspace.h"

#include <algorithm>

#include "InterfacePtr.h"
#include "MemoryStreamRead.h"
#include "MemoryStreamWrite.h"
#include "ObjectModel.h"

namespace {

// Reads `length` bytes; false when the stream holds fewer. Memory grows with the bytes read.
bool ReadBytes(IPMStream& stream, int32 length, std::vector<uchar>& bytes)
{
    bytes.clear();
    uchar block[8192];
    for (int32 left = length; left > 0;) {
        int32 count = std::min<int32>(left, sizeof block);
        if (stream.XferBytes(block, count) != count) return false;
        bytes.insert(bytes.end(), block, block + count);
        left -= count;
    }
    return true;
}

bool WritePart(IPMStream& stream, PMIID iid, const std::vector<uchar>& bytes)
{
    int32 id = static_cast<int32>(iid);
    int32 length = static_cast<int32>(bytes.size());
    return stream.XferInt32(id) && stream.XferInt32(length) &&
           stream.XferBytes(const_cast<uchar*>(bytes.data()), length) == length;
}

} // namespace

std::vector<Workspace::PersistentPart> Workspace::GetPersistentParts() const
{
    std::vector<PersistentPart> parts;
    for (const auto& [iid, implementation] : ObjectModel::Get().GetInterfaces(GetClass())) {
        InterfacePtr<IPMUnknown> iface(QueryInterface(iid));
        // The object holds its interfaces for as long as it lives; no reference is kept here.
        if (auto* persist = dynamic_cast<IPMPersist*>(iface.get())) parts.push_back({iid, implementation, persist});
    }
    return parts;
}

ErrorCode Workspace::Read(IPMStream& stream, PMString& problem)
{
    int32 magic = 0, version = 0, count = 0;
    if (!stream.XferInt32(magic) || magic != kMagic) {
        problem = "it is not a Tessel workspace file";
        return kFailure;
    }
    if (!stream.XferInt32(version) || version != kVersion) {
        problem = "it was written by another version of Tessel";
        return kFailure;
    }
    if (!stream.XferInt32(count) || count < 0) {
        problem = "it is damaged";
        return kFailure;
    }
    std::vector<PersistentPart> parts = GetPersistentParts();
    mUnclaimed.clear();
    ErrorCode result = kSuccess;
    for (int32 i = 0; i < count; ++i) {
        int32 iid = 0, length = 0;
        std::vector<uchar> bytes;
        if (!stream.XferInt32(iid) || !stream.XferInt32(length) || length < 0 || !ReadBytes(stream, length, bytes)) {
            problem = "it ends early";
            return kFailure;
        }
        auto part = std::find_if(parts.begin(), parts.end(),
                                 [iid](const PersistentPart& p) { return p.iid == static_cast<PMIID>(iid); });
        if (part == parts.end()) {
            mUnclaimed[static_cast<PMIID>(iid)] = std::move(bytes);
            continue;
        }
        MemoryStreamRead partStream(bytes.data(), bytes.size());
        part->persist->ReadWrite(&partStream, part->implementation);
        part->persist->ClearDirty();
        if (partStream.GetStreamState() != IPMStream::kStreamStateGood) {
            // Later parts are whole in their own bytes: go on reading them.
            problem = "some of its settings are damaged";
            result = kFailure;
        }
    }
    return result;
}

ErrorCode Workspace::Write(IPMStream& stream)
{
    std::vector<PersistentPart> parts = GetPersistentParts();
    int32 magic = kMagic, version = kVersion;
    int32 count = static_cast<int32>(parts.size() + mUnclaimed.size());
    if (!stream.XferInt32(magic) || !stream.XferInt32(version) || !stream.XferInt32(count)) return kFailure;
    for (const PersistentPart& part : parts) {
        MemoryStreamWrite partStream;
        part.persist->ReadWrite(&partStream, part.implementation);
        if (partStream.GetStreamState() != IPMStream::kStreamStateGood) return kFailure;
        if (!WritePart(stream, part.iid, partStream.GetBytes())) return kFailure;
    }
    for (const auto& [iid, bytes] : mUnclaimed)
        if (!WritePart(stream, iid, bytes)) return kFailure;
    return kSuccess;
}

bool Workspace::IsDirty() const
{
    for (const PersistentPart& part : GetPersistentParts())
        if (part.persist->IsDirty()) return true;
    return false;
}

void Workspace::ClearDirty()
{
    for (const PersistentPart& part : GetPersistentParts()) part.persist->ClearDirty();
}
