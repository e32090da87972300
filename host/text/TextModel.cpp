#include "TextModel.h"

#include <algorithm>

namespace {

// Chunks of the character buffer: big enough that a story is few of them, small enough that an
// insertion moves little.
constexpr int32 kMaxChunk = 2048;

// Pending insertion formats kept at once; the oldest goes when another comes.
constexpr size_t kMaxPending = 16;

template <class Tree>
Tree& Mutable(const Tree& tree)
{
    return const_cast<Tree&>(tree);
}

void Merge(AttributeBossList& into, const AttributeBossList& from, bool characterAttributes)
{
    for (const auto& [kind, value] : from.GetAttributes())
        if (IsCharacterAttribute(kind) == characterAttributes) into.ApplyAttribute(kind, value);
}

bool HasAttributes(const AttributeBossList& list, bool characterAttributes)
{
    for (const auto& entry : list.GetAttributes())
        if (IsCharacterAttribute(entry.first) == characterAttributes) return true;
    return false;
}

} // namespace

TextModel::TextModel()
{
    mText.Insert(0, 1, std::u16string(1, kTextChar_CR));
    mParagraphs.Insert(0, 1, TextFormatPool::kDefault);
    mCharacters.Insert(0, 1, TextFormatPool::kDefault);
    mOwnedItems.Insert(0, 1, kInvalidUID);
    mThreads.Insert(0, 1, TextThread());
}

UTF16TextChar TextModel::GetChar(int32 index) const
{
    if (index < 0 || index >= TotalLength()) return 0;
    auto run = Mutable(mText).Find(index);
    return (*run.value)[static_cast<size_t>(index - run.start)];
}

std::u16string TextModel::GetText(int32 start, int32 length) const
{
    std::u16string text;
    start = std::max(start, 0);
    int32 end = std::min(TotalLength(), start + std::max(length, 0));
    if (start >= end) return text;
    text.reserve(static_cast<size_t>(end - start));
    Mutable(mText).ForEachIn(start, end, [&](const auto& run) {
        int32 from = std::max(start, run.start) - run.start;
        int32 to = std::min(end, run.start + run.length) - run.start;
        text.append(*run.value, static_cast<size_t>(from), static_cast<size_t>(to - from));
    });
    return text;
}

void TextModel::InsertChars(int32 index, std::u16string_view text)
{
    const int32 count = static_cast<int32>(text.size());
    // Into the chunk that ends at the index rather than the one that starts there, so that text
    // typed at one place keeps filling one chunk.
    int32 at = index > 0 ? index - 1 : index;
    auto run = mText.Find(at);
    if (run.value && run.length + count <= kMaxChunk) {
        // A chunk grows by doubling, but never past the most it may hold (a string that grows on
        // its own doubles past it: 3,840 characters of room for 2,048). A new string takes the
        // room it is given exactly.
        std::u16string& chunk = *run.value;
        const size_t needed = static_cast<size_t>(run.length + count);
        if (chunk.capacity() < needed) {
            std::u16string grown;
            grown.reserve(std::min<size_t>(kMaxChunk, std::max(2 * chunk.capacity(), needed)));
            grown.assign(chunk);
            chunk.swap(grown);
        }
        run.value->insert(static_cast<size_t>(index - run.start), text.data(), text.size());
        mText.Grow(at, count);
        return;
    }
    for (int32 done = 0; done < count;) {
        int32 piece = std::min(count - done, kMaxChunk / 2);
        mText.Insert(index + done, piece, std::u16string(text.substr(static_cast<size_t>(done), static_cast<size_t>(piece))));
        done += piece;
    }
}

const TextFormat& TextModel::InheritedFormat(int32 index) const
{
    for (auto pending = mPending.rbegin(); pending != mPending.rend(); ++pending)
        if (pending->index == index) return pending->format;
    int32 from = index > 0 && GetChar(index - 1) != kTextChar_CR ? index - 1 : index;
    return mFormats.Get(*Mutable(mCharacters).Find(std::min(from, TotalLength() - 1)).value);
}

TextFormat& TextModel::PendingAt(int32 index)
{
    for (auto pending = mPending.rbegin(); pending != mPending.rend(); ++pending)
        if (pending->index == index) return pending->format;
    Pending pending{index, InheritedFormat(index)};
    if (mPending.size() >= kMaxPending) mPending.erase(mPending.begin());
    mPending.push_back(std::move(pending));
    return mPending.back().format;
}

void TextModel::ShiftPending(int32 index, int32 delta)
{
    // Formats set inside deleted text go with it; the one at the deletion's start stays.
    if (delta < 0)
        mPending.erase(std::remove_if(mPending.begin(), mPending.end(),
                                      [&](const Pending& p) { return p.index > index && p.index <= index - delta; }),
                       mPending.end());
    for (Pending& pending : mPending)
        if (pending.index > index) pending.index += delta;
}

bool TextModel::Insert(int32 index, std::u16string_view text)
{
    ++mRevision;
    if (text.empty() || index < 0 || index >= TotalLength()) return false;
    if (text.size() > static_cast<size_t>(INT32_MAX - TotalLength())) return false;
    const int32 count = static_cast<int32>(text.size());

    // Characters: the insertion format at the index, or the run the text continues.
    auto pending = std::find_if(mPending.rbegin(), mPending.rend(), [&](const Pending& p) { return p.index == index; });
    if (pending != mPending.rend()) {
        mCharacters.Insert(index, count, mFormats.Intern(pending->format));
        mPending.erase(std::next(pending).base());
        mCharacters.Coalesce(index, index + count);
    } else {
        bool continuesBefore = index > 0 && GetChar(index - 1) != kTextChar_CR;
        mCharacters.Grow(continuesBefore ? index - 1 : index, count);
    }
    // Owned items: inserted characters anchor nothing.
    if (index > 0 && *mOwnedItems.Find(index - 1).value == kInvalidUID)
        mOwnedItems.Grow(index - 1, count);
    else if (*mOwnedItems.Find(index).value == kInvalidUID)
        mOwnedItems.Grow(index, count);
    else
        mOwnedItems.Insert(index, count, kInvalidUID);
    mThreads.Grow(index, count);
    // Paragraphs: the text joins the paragraph at the index; each return in it ends one there.
    mParagraphs.Grow(index, count);
    for (int32 i = 0; i < count; ++i)
        if (text[static_cast<size_t>(i)] == kTextChar_CR) mParagraphs.SplitAt(index + i + 1);
    InsertChars(index, text);
    ShiftPending(index, count);
    return true;
}

bool TextModel::Delete(int32 index, int32 length, std::vector<UID>* removed)
{
    ++mRevision;
    if (index < 0 || length <= 0 || length > TotalLength() - index) return false;
    TextRange thread = GetThreadRange(index);
    if (index + length > thread.End() - 1) return false;
    const int32 end = index + length;
    mOwnedItems.ForEachIn(index, end, [&](const auto& run) {
        if (*run.value != kInvalidUID && removed) removed->push_back(*run.value);
    });
    mText.Erase(index, end);
    mCharacters.Erase(index, end);
    mCharacters.Coalesce(index, index);
    mOwnedItems.Erase(index, end);
    mOwnedItems.Coalesce(index, index);
    mThreads.Erase(index, end);
    mThreads.Coalesce(index, index);
    // Deleted returns join what is left of their paragraphs into the first of them.
    mParagraphs.Erase(index, end);
    if (index > 0 && GetChar(index - 1) != kTextChar_CR) mParagraphs.JoinAt(index);
    ShiftPending(index, -length);
    return true;
}

template <class F>
void TextModel::ForParagraphsOf(int32 index, int32 length, F&& f)
{
    TextRange first = GetParagraphRange(index);
    int32 end = std::max(index + length, first.start + 1);
    mParagraphs.ForEachIn(first.start, end, [&](const auto& run) {
        TextFormat format = mFormats.Get(*run.value);
        f(format);
        *run.value = mFormats.Intern(format);
    });
}

template <class F>
void TextModel::ForCharactersOf(int32 index, int32 length, F&& f)
{
    if (length == 0) {
        f(PendingAt(index));
        return;
    }
    mCharacters.SplitAt(index);
    mCharacters.SplitAt(index + length);
    mCharacters.ForEachIn(index, index + length, [&](const auto& run) {
        TextFormat format = mFormats.Get(*run.value);
        f(format);
        *run.value = mFormats.Intern(format);
    });
    mCharacters.Coalesce(index, index + length);
}

bool TextModel::ApplyStyle(StyleKind kind, UID style, int32 index, int32 length, bool clearOverrides)
{
    ++mRevision;
    if (index < 0 || length < 0 || index >= TotalLength() || length > TotalLength() - index) return false;
    auto apply = [&](TextFormat& format) {
        format.style = style;
        if (clearOverrides) format.overrides = AttributeBossList();
    };
    if (kind == StyleKind::kParagraph)
        ForParagraphsOf(index, length, apply);
    else
        ForCharactersOf(index, length, apply);
    return true;
}

bool TextModel::ApplyAttributes(const AttributeBossList& attributes, int32 index, int32 length)
{
    ++mRevision;
    if (index < 0 || length < 0 || index >= TotalLength() || length > TotalLength() - index) return false;
    if (HasAttributes(attributes, false))
        ForParagraphsOf(index, length, [&](TextFormat& format) { Merge(format.overrides, attributes, false); });
    if (HasAttributes(attributes, true))
        ForCharactersOf(index, length, [&](TextFormat& format) { Merge(format.overrides, attributes, true); });
    return true;
}

TextRange TextModel::AddThread(const TextThread& thread)
{
    ++mRevision;
    const int32 start = TotalLength();
    mText.Insert(start, 1, std::u16string(1, kTextChar_CR));
    mParagraphs.Insert(start, 1, TextFormatPool::kDefault);
    mCharacters.Insert(start, 1, TextFormatPool::kDefault);
    mOwnedItems.Insert(start, 1, kInvalidUID);
    mOwnedItems.Coalesce(start, start);
    mThreads.Insert(start, 1, thread);
    // Remembered at once, so that finding a new thread (a table's cells, as each is made) costs
    // no walk of every thread.
    if (thread.owner != kInvalidUID) mThreadNodes[thread.owner] = mThreads.NodeAt(start);
    return TextRange{start, 1};
}

TextRange TextModel::GetThreadRange(int32 index) const
{
    if (index < 0 || index >= TotalLength()) return TextRange{};
    auto run = Mutable(mThreads).Find(index);
    return TextRange{run.start, run.length};
}

TextThread TextModel::GetThread(int32 index) const
{
    if (index < 0 || index >= TotalLength()) return TextThread{};
    return *Mutable(mThreads).Find(index).value;
}

TextRange TextModel::FindThread(UID owner) const
{
    TextRange found;
    if (owner == kInvalidUID) return found;
    // The node remembered still holds a run of the owner: the thread is found from there.
    if (auto it = mThreadNodes.find(owner); it != mThreadNodes.end()) {
        const TextThread* thread = mThreads.ValueOf(it->second);
        if (thread && thread->owner == owner && thread->kind != TextThreadKind::kPrimary) {
            found = GetThreadRange(mThreads.StartOf(it->second));
            // A thread cut into runs that were not joined yet: the whole of it.
            while (found.start > 0 && GetThread(found.start - 1).owner == owner) {
                const TextRange before = GetThreadRange(found.start - 1);
                found = TextRange{before.start, before.length + found.length};
            }
            while (found.End() < TotalLength() && GetThread(found.End()).owner == owner) {
                const TextRange after = GetThreadRange(found.End());
                found.length += after.length;
            }
            if (found.length > 0) return found;
        }
        mThreadNodes.erase(it);
    }
    // One walk remembers where every thread is.
    ForEachThread([&](const TextRange& range, const TextThread& thread) {
        if (thread.owner == kInvalidUID) return;
        mThreadNodes[thread.owner] = mThreads.NodeAt(range.start);
        if (thread.owner != owner) return;
        if (found.length > 0 && found.End() == range.start) found.length += range.length;
        else found = range;
    });
    return found;
}

bool TextModel::RemoveThread(UID owner)
{
    ++mRevision;
    TextRange range = FindThread(owner);
    if (range.length == 0 || range.start == 0) return false;
    const int32 end = range.End();
    mText.Erase(range.start, end);
    mParagraphs.Erase(range.start, end);
    mCharacters.Erase(range.start, end);
    mOwnedItems.Erase(range.start, end);
    mOwnedItems.Coalesce(range.start, range.start);
    mThreads.Erase(range.start, end);
    // The thread's own insertion formats go with it.
    mPending.erase(std::remove_if(mPending.begin(), mPending.end(), [&](const Pending& p) { return p.index == range.start; }),
                   mPending.end());
    ShiftPending(range.start, -range.length);
    return true;
}

bool TextModel::SetOwnedItem(int32 index, UID item)
{
    ++mRevision;
    if (index < 0 || index >= TotalLength()) return false;
    mOwnedItems.SplitAt(index);
    mOwnedItems.SplitAt(index + 1);
    *mOwnedItems.Find(index).value = item;
    mOwnedItems.Coalesce(index, index + 1);
    return true;
}

UID TextModel::GetOwnedItem(int32 index) const
{
    if (index < 0 || index >= TotalLength()) return kInvalidUID;
    return *Mutable(mOwnedItems).Find(index).value;
}

const TextFormat* TextModel::GetParagraphFormat(int32 index) const
{
    if (index < 0 || index >= TotalLength()) return nullptr;
    return &mFormats.Get(*Mutable(mParagraphs).Find(index).value);
}

const TextFormat* TextModel::GetCharacterFormat(int32 index) const
{
    if (index < 0 || index >= TotalLength()) return nullptr;
    return &mFormats.Get(*Mutable(mCharacters).Find(index).value);
}

TextRange TextModel::GetParagraphRange(int32 index) const
{
    if (index < 0 || index >= TotalLength()) return TextRange{};
    auto run = Mutable(mParagraphs).Find(index);
    return TextRange{run.start, run.length};
}

void TextModel::ForEachParagraph(int32 from, int32 to, RunVisitor visit) const
{
    Mutable(mParagraphs).ForEachIn(from, to, [&](const auto& run) { visit(run.start, run.length, mFormats.Get(*run.value)); });
}

void TextModel::ForEachCharacterRun(int32 from, int32 to, RunVisitor visit) const
{
    Mutable(mCharacters).ForEachIn(from, to, [&](const auto& run) { visit(run.start, run.length, mFormats.Get(*run.value)); });
}

void TextModel::ForEachOwnedItem(int32 from, int32 to, FunctionRef<void(int32, UID)> visit) const
{
    Mutable(mOwnedItems).ForEachIn(from, to, [&](const auto& run) {
        if (*run.value != kInvalidUID && run.start >= from) visit(run.start, *run.value);
    });
}

void TextModel::ForEachThread(FunctionRef<void(const TextRange&, const TextThread&)> visit) const
{
    Mutable(mThreads).ForEachIn(0, TotalLength(), [&](const auto& run) { visit(TextRange{run.start, run.length}, *run.value); });
}

void TextModel::AppendPrimaryThread(const TextModel& other)
{
    ++mRevision;
    // Threads are linked before text arrives; were the other story to own footnotes, their
    // markers would come along as plain characters.
    const int32 otherEnd = other.GetThreadRange(0).length - 1;  // in front of its final return
    if (otherEnd <= 0) return;
    int32 base = GetThreadRange(0).length - 1;
    if (base > 0) {
        Insert(base, std::u16string(1, kTextChar_CR));
        ++base;
    }
    Insert(base, other.GetText(0, otherEnd));
    other.ForEachParagraph(0, otherEnd, [&](int32 start, int32 length, const TextFormat& format) {
        int32 count = std::min(length, otherEnd - start);
        ApplyStyle(StyleKind::kParagraph, format.style, base + start, count, true);
        ApplyAttributes(format.overrides, base + start, count);
    });
    other.ForEachCharacterRun(0, otherEnd, [&](int32 start, int32 length, const TextFormat& format) {
        int32 count = std::min(length, otherEnd - start);
        ApplyStyle(StyleKind::kCharacter, format.style, base + start, count, true);
        ApplyAttributes(format.overrides, base + start, count);
    });
}
