// TextModel: the characters of a story and the strands that describe them.
//
// The characters are UTF-16 in chunks; every thread of the story (its own text first, then one
// per footnote, one per table cell) is a range of the same characters that ends with its
// own carriage return, so a new story is one empty paragraph: "\r". Four strands run over the
// same positions:
//   - paragraphs: one run per paragraph, ending with its carriage return: style and overrides;
//   - characters: style and overrides per run;
//   - owned items: the object anchored at a character (a footnote at its marker, a table at its
//     table character), or none;
//   - threads: which thread each character belongs to.
// Every look-up and edit costs O(log n) in the story's characters and runs, so a paragraph added
// at the end of a long story costs what it costs at the start of a short one.
//
// Formatting applied with length 0 at an index is kept as the insertion format there: the next
// text inserted at that index takes it on. Without one, inserted text continues the run of the
// character before it, or at the start of a paragraph the run of the character after it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "AttributeBossList.h"
#include "FunctionRef.h"
#include "RunTree.h"
#include "TextFormat.h"
#include "TextFormatPool.h"
#include "Style.h"
#include "UIDRef.h"

constexpr UTF16TextChar kTextChar_CR = 0x000D;               // paragraph end
constexpr UTF16TextChar kTextChar_LF = 0x000A;               // forced line break
constexpr UTF16TextChar kTextChar_Tab = 0x0009;
constexpr UTF16TextChar kTextChar_FootnoteMarker = 0x0004;   // anchors a footnote
constexpr UTF16TextChar kTextChar_Table = 0x0016;            // anchors a table
constexpr UTF16TextChar kTextChar_PageNumber = 0x0018;       // the current page number
constexpr UTF16TextChar kTextChar_DiscretionaryHyphen = 0x00AD;
constexpr UTF16TextChar kTextChar_NonBreakingHyphen = 0x2011;


enum class TextThreadKind : int32 { kPrimary = 0, kFootnote = 1, kCell = 2 };

// The thread a character belongs to: the story's own text, or the text of an object the story
// owns (a footnote).
struct TextThread {
    TextThreadKind kind = TextThreadKind::kPrimary;
    UID owner = kInvalidUID;
    friend bool operator==(const TextThread&, const TextThread&) = default;
};

struct TextRange {
    int32 start = 0;
    int32 length = 0;
    int32 End() const { return start + length; }
};

class TextModel {
public:
    TextModel();

    // All characters, the final carriage returns of every thread included.
    int32 TotalLength() const { return mText.Length(); }
    UTF16TextChar GetChar(int32 index) const;
    std::u16string GetText(int32 start, int32 length) const;

    // Inserts `text` before `index`, which must be in front of the story's end
    // (0 <= index < TotalLength()); false, changing nothing, otherwise or for no text.
    bool Insert(int32 index, std::u16string_view text);
    // Deletes [index, index + length), which must lie inside one thread in front of its final
    // carriage return. The items anchored in the range are handed to `removed`.
    bool Delete(int32 index, int32 length, std::vector<UID>* removed = nullptr);
    // Applies a style to the paragraphs or the characters of the range; `clearOverrides` drops
    // the overrides the range had. A paragraph style with length 0 goes to the paragraph that
    // holds `index`; a character style with length 0 sets the insertion format at `index`.
    bool ApplyStyle(StyleKind kind, UID style, int32 index, int32 length, bool clearOverrides);
    // Adds attributes: paragraph attributes to the paragraphs of the range, character attributes
    // to its characters (length 0: to the paragraph at `index` and to the insertion format).
    bool ApplyAttributes(const AttributeBossList& attributes, int32 index, int32 length);

    // Appends a thread of one empty paragraph at the end of the story; its range.
    TextRange AddThread(const TextThread& thread);
    // The range and kind of the thread holding `index`; a zero range when out of bounds.
    TextRange GetThreadRange(int32 index) const;
    TextThread GetThread(int32 index) const;
    // The thread owned by `owner`; a zero range when there is none. O(log n) for a thread found
    // before (the node of its run is remembered), a walk of every thread otherwise.
    TextRange FindThread(UID owner) const;
    // Removes a thread that is not the story's own, with everything in it.
    bool RemoveThread(UID owner);

    // Anchors `item` at the character `index`; false when out of bounds.
    bool SetOwnedItem(int32 index, UID item);
    UID GetOwnedItem(int32 index) const;

    const TextFormat* GetParagraphFormat(int32 index) const;
    const TextFormat* GetCharacterFormat(int32 index) const;
    // The range of the paragraph holding `index`.
    TextRange GetParagraphRange(int32 index) const;

    // Walks in order over what overlaps [from, to).
    using RunVisitor = FunctionRef<void(int32 start, int32 length, const TextFormat& format)>;
    void ForEachParagraph(int32 from, int32 to, RunVisitor visit) const;
    void ForEachCharacterRun(int32 from, int32 to, RunVisitor visit) const;
    // Every anchored item in [from, to), with its index.
    void ForEachOwnedItem(int32 from, int32 to, FunctionRef<void(int32 index, UID item)> visit) const;
    // Every thread, the story's own first, with its range.
    void ForEachThread(FunctionRef<void(const TextRange& range, const TextThread& thread)> visit) const;

    // Appends the paragraphs of `other`'s own thread, with their formatting, to the end of this
    // model's own thread (after a return when this one has text). Footnotes stay behind.
    void AppendPrimaryThread(const TextModel& other);

    // The distinct formats of the story's runs (each kept once).
    size_t FormatCount() const { return mFormats.Count(); }
    // Counts the edits: any change to the characters or their formatting makes it grow, so what
    // was worked out from the text (its composed lines) can tell whether it is still current.
    int64 GetRevision() const { return mRevision; }

    int32 ParagraphRunCount() const { return mParagraphs.RunCount(); }
    int32 CharacterRunCount() const { return mCharacters.RunCount(); }

private:
    struct ChunkTraits {
        static std::u16string Cut(std::u16string& value, int32 offset, int32 /*length*/)
        {
            std::u16string tail = value.substr(static_cast<size_t>(offset));
            value.resize(static_cast<size_t>(offset));
            return tail;
        }
    };
    struct Pending {
        int32 index = 0;
        TextFormat format;
    };

    void InsertChars(int32 index, std::u16string_view text);
    // The insertion format at `index`, made from the formatting in force there when none is set.
    TextFormat& PendingAt(int32 index);
    const TextFormat& InheritedFormat(int32 index) const;
    void ShiftPending(int32 index, int32 delta);
    template <class F>
    void ForParagraphsOf(int32 index, int32 length, F&& f);
    template <class F>
    void ForCharactersOf(int32 index, int32 length, F&& f);

    // The trees are changed by the walks' lookups only in what they hand out, so the const
    // readers cast.
    RunTree<std::u16string, ChunkTraits> mText;
    TextFormatPool mFormats;
    RunTree<TextFormatPool::Id> mParagraphs;
    RunTree<TextFormatPool::Id> mCharacters;
    RunTree<UID> mOwnedItems;
    RunTree<TextThread> mThreads;
    // The node of mThreads that held each owner's run when last looked up; checked on use.
    mutable std::unordered_map<UID, int32> mThreadNodes;
    std::vector<Pending> mPending;
    int64 mRevision = 0;
};
