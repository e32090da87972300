// IdmlCatalog: the Self and the Name that each swatch, style and numbering list of the document
// gets in the package, worked out once before any part is written so that every part refers
// to them alike.
//
// Selfs (IdmlIds has the fixed ones):
//   swatches  the document's fixed swatches take the ids every InDesign document has:
//             "Swatch/None", "Color/Paper", "Color/Black", "Color/Registration"; so does any
//             swatch of the kinds None, Paper or Registration, as a document has one of each.
//             Process and spot colors are "Color/<name>"; tints "Tint/<base name> <percent>%".
//             A tint of a tint becomes a tint of the color underneath (InDesign tints colors
//             only), a tint of None is None, a tint of Paper is Paper, and a tint whose base is
//             gone tints Black, the color that stands in for unknown ones.
//   styles    "ParagraphStyle/<name>", "CharacterStyle/<name>"; the reserved styles and
//             "[Basic Paragraph]" take the root styles' ids.
//   lists     "NumberingList/<name>"; the default list "NumberingList/$ID/[Default]".
// <name> is the Name written. In the Selfs of styles and lists "%" and ":" are escaped as "%25"
// and "%3a", as InDesign escapes them (a colon separates style groups there); a swatch's Self
// holds its name as it is, since some readers take a swatch's name from its Self. Names are
// unique among swatches, among paragraph styles, among character styles and among lists, as
// InDesign wants them: a name met before, or one whose Self a fixed id holds, gets a number
// ("Blue 2"); an empty name becomes "<what> 1" ("Paragraph Style 1"), or for a color the name
// of its values ("C=0 M=100 Y=0 K=0"). Characters XML cannot hold are dropped, and tabs and
// line breaks become blanks. So every Self is unique, and the same document gives the same ids.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "UIDRef.h"

class DataBase;
class PMString;
class Swatch;

class IdmlCatalog {
public:
    // What a swatch of the document becomes in Graphic.xml.
    enum class SwatchElement {
        kFixed,  // one of the swatches every package has (the writer adds them itself)
        kColor,  // a <Color>, and an <Ink> for a spot color
        kTint,   // a <Tint> of a color
    };
    struct SwatchEntry {
        UID uid = kInvalidUID;
        std::string self;
        std::string name;
        SwatchElement element = SwatchElement::kFixed;
        const Swatch* color = nullptr;  // kFixed, kColor: the swatch; kTint: the color it tints
                                        // (null when that is the Black the document lacks)
        std::string baseSelf;           // kTint: the Self of that color
        double tint = 100;              // kTint: percent of the color, 0..100
    };
    struct Entry {
        UID uid = kInvalidUID;
        std::string self;
        std::string name;
    };

    explicit IdmlCatalog(const DataBase& db);

    // The document's swatches, styles and lists in the document's order, each once; entries
    // whose object is missing are left out.
    const std::vector<SwatchEntry>& GetSwatches() const { return mSwatches; }
    const std::vector<Entry>& GetParagraphStyles() const { return mParagraphStyles; }
    const std::vector<Entry>& GetCharacterStyles() const { return mCharacterStyles; }
    const std::vector<Entry>& GetLists() const { return mLists; }

    // The Self that a reference to `uid` names; "" when `uid` is not one of the document's
    // swatches, paragraph styles, character styles or lists respectively.
    std::string SwatchRef(UID uid) const { return Lookup(mSwatchRefs, uid); }
    std::string ParagraphStyleRef(UID uid) const { return Lookup(mParagraphStyleRefs, uid); }
    std::string CharacterStyleRef(UID uid) const { return Lookup(mCharacterStyleRefs, uid); }
    std::string ListRef(UID uid) const { return Lookup(mListRefs, uid); }

    // "a%3ab" for "a:b": a name as it stands in a Self.
    static std::string EscapeName(const std::string& name);

private:
    void AddSwatches(const DataBase& db);
    void AddTints(const DataBase& db);
    void AddStyles(const DataBase& db);
    void AddLists(const DataBase& db);
    // Picks the Name and Self of an object: `wanted` (cleaned), numbered while the name is in
    // `names` or the Self `kind`/<name> (escaped when `escape`) is taken; records both.
    Entry Claim(UID uid, const char* kind, const PMString& wanted, const char* emptyName, std::set<std::string>& names,
                bool escape);
    static std::string Lookup(const std::map<UID, std::string>& refs, UID uid);

    std::vector<SwatchEntry> mSwatches;
    std::vector<Entry> mParagraphStyles;
    std::vector<Entry> mCharacterStyles;
    std::vector<Entry> mLists;
    std::map<UID, std::string> mSwatchRefs;
    std::map<UID, std::string> mParagraphStyleRefs;
    std::map<UID, std::string> mCharacterStyleRefs;
    std::map<UID, std::string> mListRefs;
    std::set<std::string> mSelfs;  // every Self handed out, and the fixed ids
};
