// MifPresetRecord: one preset of the conversion preferences: a name, five conversion modes, the
// font substitution table and the font encoding table. A plain value: copies are deep.
//
// Each mode is 1 for the first choice of its group in the preferences dialog and 2 for the
// second: leading (1 auto leading where possible, 2 always fixed), composer (1 paragraph,
// 2 single-line), cross-references (1 convert to text, 2 use cross-references), variables
// (1 convert to text, 2 use variables), conditional text (1 convert to text, 2 use conditions).
//
// The stream form (preferences and preset files): int32 magic 0x54517074, int32 version 0x10000,
// the name, the five modes as int32 in the order above, the substitution count and per entry the
// FrameMaker family, angle, weight and variation and the InDesign family and style, then the
// encoding count and per entry the family and the int32 encoding.
//
// Presets cross the plug-in's boundary (IMifPrefs::GetPreset), so what reads them is in this
// header: the application's front end reads them without linking the plug-in.
#pragma once

#include <utility>
#include <vector>

#include "IPMStream.h"
#include "PMString.h"
#include "Session.h"

#include "base/TesselID.h"
#include "mif/MifFamilyEncodings.h"
#include "prefs/MifFontKey.h"
#include "prefs/MifIDFont.h"

class MifPresetRecord {
public:
    static constexpr int32 kMagic = 0x54517074;
    static constexpr int32 kVersion = 0x10000;

    enum StreamResult {
        kStreamFailed,   // the stream ended, failed or held bad data before the preset was whole
        kUnknownFormat,  // the magic or the version is not this one; nothing more was read
        kStreamDone,     // the whole preset was read or written
    };

    // The default preset: the translated "[Common]", every mode 2, empty tables.
    MifPresetRecord();

    const PMString& GetName() const { return mName; }
    void SetName(const PMString& name);

    int32 GetLeading() const { return mLeading; }
    void SetLeading(int32 mode) { mLeading = mode; }
    int32 GetComposer() const { return mComposer; }
    void SetComposer(int32 mode) { mComposer = mode; }
    // 1 whenever the companion cross-reference plug-in is not loaded, whatever is stored: without
    // it cross-references can only become text.
    int32 GetCrossReferences() const { return Session::CanSupply(IID_IXREFFORMATSLIST) ? mCrossReferences : 1; }
    int32 GetStoredCrossReferences() const { return mCrossReferences; }
    void SetCrossReferences(int32 mode) { mCrossReferences = mode; }
    int32 GetVariables() const { return mVariables; }
    void SetVariables(int32 mode) { mVariables = mode; }
    // Always 1: conditional text is imported as ordinary text.
    int32 GetConditionalText() const { return 1; }
    int32 GetStoredConditionalText() const { return mConditionalText; }
    void SetConditionalText(int32 mode) { mConditionalText = mode; }

    // The font substitution table, in key order. Out-of-range indexes answer an empty entry.
    int32 GetSubstitutionCount() const { return static_cast<int32>(mSubstitutions.size()); }
    const MifFontKey& GetSubstitutionKey(int32 index) const
    {
        static const MifFontKey none;
        return index >= 0 && index < GetSubstitutionCount() ? mSubstitutions[index].first : none;
    }
    const MifIDFont& GetSubstitutionFont(int32 index) const
    {
        static const MifIDFont none;
        return index >= 0 && index < GetSubstitutionCount() ? mSubstitutions[index].second : none;
    }
    // Adds an entry; an entry with the same key is replaced.
    void AddSubstitution(const MifFontKey& key, const MifIDFont& font);
    void RemoveSubstitution(int32 index);

    // The font encoding table, in family order (PMString order). Out-of-range indexes answer an
    // empty family and encoding 0.
    int32 GetEncodingCount() const { return static_cast<int32>(mEncodings.size()); }
    PMString GetEncodingFamily(int32 index) const
    {
        return index >= 0 && index < GetEncodingCount() ? mEncodings[index].first : PMString();
    }
    int32 GetEncoding(int32 index) const
    {
        return index >= 0 && index < GetEncodingCount() ? mEncodings[index].second : 0;
    }
    // Adds an entry; an entry for the same family (same case) is replaced.
    void AddEncoding(const PMString& family, int32 encoding);
    void RemoveEncoding(int32 index);
    // The encoding of the entry for `family`, matched regardless of case (an entry of the same
    // case first); false when there is none.
    bool FindEncoding(const PMString& family, int32& encoding) const;
    const MifFamilyEncodings::Table& GetEncodings() const { return mEncodings; }

    // The index of the preset that the user's `name` stands for: the one of that name in the same
    // case, else the first whose name differs only in case ("[common]" finds "[Common]"); -1 when
    // none. Every command that takes a preset name finds it through this.
    static int32 FindByName(const std::vector<MifPresetRecord>& presets, const PMString& name)
    {
        int32 found = -1;
        for (int32 i = 0; i < static_cast<int32>(presets.size()); ++i) {
            if (presets[i].GetName() == name) return i;
            if (found < 0 && presets[i].GetName().IsEqualNoCase(name)) found = i;
        }
        return found;
    }

    // Reads the preset from `stream`, which must be a default preset, or writes it. A mode read
    // outside 1..2 keeps its default.
    StreamResult ReadWrite(IPMStream& stream);

private:
    StreamResult Read(IPMStream& stream);
    StreamResult Write(IPMStream& stream);

    PMString mName;
    int32 mLeading = 2;
    int32 mComposer = 2;
    int32 mCrossReferences = 2;
    int32 mVariables = 2;
    int32 mConditionalText = 2;
    std::vector<std::pair<MifFontKey, MifIDFont>> mSubstitutions;  // sorted by key
    MifFamilyEncodings::Table mEncodings;                          // sorted by family
};
