#include "CrossReferenceText.h"

#include <algorithm>
#include <map>
#include <memory>
#include <unordered_map>

#include "CmdUtils.h"
#include "Document.h"
#include "PageItem.h"
#include "PageNumbering.h"
#include "ParagraphNumbers.h"
#include "Spread.h"
#include "Story.h"
#include "Style.h"
#include "TextCommands.h"
#include "VariableText.h"

namespace {

using Block = CrossReferenceBlock;

// The value of attribute `name` in an element's text (`paratext precedingpstyle="H1" `); empty
// when absent.
PMString Attribute(const std::u16string& element, const std::u16string& name)
{
    const std::u16string key = name + u"=\"";
    size_t at = element.find(key);
    if (at == std::u16string::npos) return PMString();
    size_t start = at + key.size();
    size_t end = element.find(u'"', start);
    return PMString(element.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start));
}

bool StartsWith(const std::u16string& text, const std::u16string& prefix) { return text.rfind(prefix, 0) == 0; }

// One element between angle brackets, without them; false for an element that is not known.
bool ParseElement(const std::u16string& element, Block& block)
{
    auto name = [&](const std::u16string& word) {
        return StartsWith(element, word) &&
               (element.size() == word.size() || element[word.size()] == u' ' || element[word.size()] == u'/');
    };
    if (name(u"pagenum")) block.kind = Block::Kind::kPageNumber;
    else if (name(u"chapnum")) block.kind = Block::Kind::kChapterNumber;
    else if (name(u"filename")) {
        block.kind = Block::Kind::kFileName;
        block.fullPath = Attribute(element, u"fullpath") == PMString("yes");
    } else if (name(u"paratext") || name(u"paranum")) {
        block.kind = name(u"paratext") ? Block::Kind::kParagraphText : Block::Kind::kParagraphNumber;
        block.paragraphStyle = Attribute(element, u"precedingpstyle");
        block.numberOnly = Attribute(element, u"numberonly") == PMString("true");
    } else if (name(u"span")) {
        block.kind = Block::Kind::kStyleStart;
        block.text = Attribute(element, u"cstyle");
    } else if (element == u"/span") {
        block.kind = Block::Kind::kStyleEnd;
    } else {
        return false;
    }
    return true;
}

void AppendLiteral(std::vector<Block>& blocks, const std::u16string& text)
{
    if (text.empty()) return;
    if (blocks.empty() || blocks.back().kind != Block::Kind::kText) blocks.push_back(Block{});
    blocks.back().text.Append(PMString(text));
}

// The paragraph the destination at `index` of `story` names: its own, or with `style` the
// nearest paragraph of that style at or before it; its text without the return and without the
// characters of `left` (the cross-reference's own text, when it stands in that paragraph: a
// reference to its own paragraph would otherwise show itself, once more at each update), and
// whether one was found.
bool DestinationParagraph(const DataBase& db, const Story& story, int32 index, const PMString& style, std::u16string& text,
                          TextRange left, int32* paragraphStart = nullptr)
{
    const TextModel& model = story.textModel;
    TextRange thread = model.GetThreadRange(index);
    for (int32 at = index; at >= thread.start;) {
        TextRange paragraph = model.GetParagraphRange(at);
        const TextFormat* format = model.GetParagraphFormat(at);
        const Style* applied = format ? db.Get<Style>(format->style) : nullptr;
        if (style.IsEmpty() || (applied && applied->name == style)) {
            if (paragraphStart) *paragraphStart = paragraph.start;
            std::u16string all = model.GetText(paragraph.start, paragraph.length);
            for (size_t i = 0; i < all.size(); ++i) {
                const int32 at = paragraph.start + static_cast<int32>(i);
                if (at >= left.start && at < left.End()) continue;
                if (all[i] >= 0x20 || all[i] == u'\t') text.push_back(all[i]);
            }
            return true;
        }
        if (paragraph.start <= thread.start) break;
        at = paragraph.start - 1;
    }
    return false;
}

// The page name of the page that shows `index` of `story`; empty when it is not composed.
PMString PageName(const DataBase& db, const Story& story, int32 index)
{
    const UID page = VariableText::PageOfFrame(db, story.frameList.FindFrameOfIndex(index));
    return page == kInvalidUID ? PMString() : PageNumbering(db).GetPageName(page);
}

} // namespace

namespace CrossReferenceText {

bool Parse(const PMString& definition, std::vector<CrossReferenceBlock>& blocks, PMString* problem)
{
    blocks.clear();
    bool whole = true;
    const std::u16string& text = definition.GetUTF16();
    std::u16string literal;
    for (size_t i = 0; i < text.size();) {
        char16_t c = text[i];
        if (c == u'^' && i + 1 < text.size() && text[i + 1] == u's') {
            literal.push_back(u'\u00A0');
            i += 2;
            continue;
        }
        if (c != u'<') {
            literal.push_back(c);
            ++i;
            continue;
        }
        size_t end = text.find(u'>', i + 1);
        size_t nextOpen = text.find(u'<', i + 1);
        if (end == std::u16string::npos || (nextOpen != std::u16string::npos && nextOpen < end)) {
            // An element that is not closed stays as text.
            if (problem && whole) *problem = "an element is not closed";
            whole = false;
            literal.push_back(c);
            ++i;
            continue;
        }
        std::u16string element = text.substr(i + 1, end - i - 1);
        while (!element.empty() && (element.back() == u' ' || element.back() == u'/') && element != u"/") element.pop_back();
        Block block;
        if (!ParseElement(element, block)) {
            if (problem && whole) {
                *problem = "unknown element <";
                problem->Append(PMString(element));
                problem->Append(">");
            }
            whole = false;
            literal += text.substr(i, end - i + 1);
        } else {
            AppendLiteral(blocks, literal);
            literal.clear();
            blocks.push_back(std::move(block));
        }
        i = end + 1;
    }
    AppendLiteral(blocks, literal);
    return whole;
}

int32 FindAnchor(const DataBase& db, UID story, UID item)
{
    const Story* owner = db.Get<Story>(story);
    if (!owner) return -1;
    int32 found = -1;
    owner->textModel.ForEachOwnedItem(0, owner->textModel.TotalLength(), [&](int32 index, UID uid) {
        if (uid == item && found < 0) found = index;
    });
    return found;
}

}  // namespace CrossReferenceText

namespace {

// The numbers of the paragraphs of stories, counted once per story for all the
// cross-references that show them.
class NumberCache {
public:
    const ParagraphNumbers::Number* Get(const DataBase& db, const Story& story, int32 paragraphStart)
    {
        // A plain variable, not a structured binding, for the lambda below to capture.
        auto emplaced = mStories.try_emplace(story.GetUID());
        auto it = emplaced.first;
        if (emplaced.second) {
            ParagraphNumbers numbers(db, story.textModel);
            const TextModel& model = story.textModel;
            model.ForEachParagraph(0, model.TotalLength(), [&](int32 start, int32, const TextFormat& format) {
                if (!ParagraphNumbers::IsListed(db, format)) return;
                if (const ParagraphNumbers::Number* number = numbers.Get(start)) it->second.emplace(start, *number);
            });
        }
        auto found = it->second.find(paragraphStart);
        return found == it->second.end() ? nullptr : &found->second;
    }

    // Forgets the numbers of `story`, whose text changed: its paragraphs have moved.
    void Forget(UID story) { mStories.erase(story); }

private:
    std::unordered_map<UID, std::map<int32, ParagraphNumbers::Number>> mStories;
};

// The range of `source`'s own text in its story, its two anchors included; `start` is where
// its first anchor lies (-1: not known, then the range is looked for).
TextRange OwnText(const DataBase& db, const CrossReferenceSource& source, int32 start = -1)
{
    const Story* story = db.Get<Story>(source.story);
    if (!story) return TextRange{-1, 0};
    if (start < 0) start = CrossReferenceText::FindAnchor(db, source.story, source.GetUID());
    if (start < 0) return TextRange{-1, 0};
    const TextModel& model = story->textModel;
    int32 end = start + 1;
    while (end < model.TotalLength() && model.GetChar(end) != kTextChar_CrossReferenceEnd && model.GetChar(end) != kTextChar_CR) ++end;
    return TextRange{start, end - start + (end < model.TotalLength() && model.GetChar(end) == kTextChar_CrossReferenceEnd ? 1 : 0)};
}

// The text `source` shows; `ownText` is its own range in its story (or none).
PMString TextOf(const DataBase& db, const CrossReferenceSource& source, NumberCache& numbers, TextRange ownText)
{
    const CrossReferenceFormat* format = db.Get<CrossReferenceFormat>(source.format);
    if (!format) return PMString();
    std::vector<Block> blocks;
    CrossReferenceText::Parse(format->definition, blocks);
    const HyperlinkTextDestination* destination = db.Get<HyperlinkTextDestination>(source.destination);
    const Story* story = destination ? db.Get<Story>(destination->story) : nullptr;
    const int32 at = story ? CrossReferenceText::FindAnchor(db, destination->story, destination->GetUID()) : -1;
    // Only a destination in the reference's own story can hold the reference itself.
    const TextRange left = story && destination->story == source.story ? ownText : TextRange{-1, 0};
    const Document* document = db.GetDocument();
    PMString text;
    for (const Block& block : blocks) {
        switch (block.kind) {
        case Block::Kind::kText: text.Append(block.text); break;
        case Block::Kind::kFileName:
            if (!source.file.IsEmpty()) text.Append(source.file);
            else if (document) text.Append(document->name);
            break;
        case Block::Kind::kParagraphText:
            if (std::u16string paragraph; at >= 0 && DestinationParagraph(db, *story, at, block.paragraphStyle, paragraph, left))
                text.Append(PMString(paragraph));
            break;
        case Block::Kind::kPageNumber:
            if (at >= 0) {
                PMString page = PageName(db, *story, at);
                text.Append(page.IsEmpty() ? PMString("?") : page);
            }
            break;
        case Block::Kind::kParagraphNumber: {
            // The number the destination's paragraph shows, as ParagraphNumbers counts it.
            std::u16string paragraph;
            int32 start = -1;
            if (at < 0 || !DestinationParagraph(db, *story, at, block.paragraphStyle, paragraph, left, &start)) break;
            if (const ParagraphNumbers::Number* number = numbers.Get(db, *story, start))
                text.Append(PMString(block.numberOnly ? number->numberOnly : ParagraphNumbers::TextWithoutTabs(*number)));
            break;
        }
        case Block::Kind::kChapterNumber: text.Append(ParagraphNumbers::ChapterNumber(db)); break;
        case Block::Kind::kStyleStart:
        case Block::Kind::kStyleEnd: break;
        }
    }
    return text;
}

} // namespace

namespace CrossReferenceText {

PMString GetText(const DataBase& db, const CrossReferenceSource& source)
{
    NumberCache numbers;
    const HyperlinkTextDestination* destination = db.Get<HyperlinkTextDestination>(source.destination);
    const bool sameStory = destination && destination->story == source.story;
    return TextOf(db, source, numbers, sameStory ? OwnText(db, source) : TextRange{-1, 0});
}

int32 UpdateAll(DataBase& db)
{
    Document* document = db.GetDocument();
    if (!document) return 0;
    // Every text is found first, while the composition still matches the text: an edit moves
    // the text after it, and the lines composed before no longer show where it stands. The edits
    // then go from the end of each story back, so that each leaves the places before it alone.
    struct Edit {
        Story* story;
        int32 start;   // the reference's first anchor
        int32 length;  // of the text between its anchors
        std::u16string text;
    };
    std::vector<Edit> edits;
    NumberCache numbers;
    for (UID uid : document->crossReferenceSources) {
        const CrossReferenceSource* source = db.Get<CrossReferenceSource>(uid);
        Story* story = source ? db.Get<Story>(source->story) : nullptr;
        const int32 start = story ? FindAnchor(db, source->story, uid) : -1;
        if (start < 0) continue;
        const TextModel& model = story->textModel;
        int32 end = start + 1;
        while (end < model.TotalLength() && model.GetChar(end) != kTextChar_CrossReferenceEnd && model.GetChar(end) != kTextChar_CR) ++end;
        if (end >= model.TotalLength() || model.GetChar(end) != kTextChar_CrossReferenceEnd) continue;
        std::u16string now = TextOf(db, *source, numbers, TextRange{start, end - start + 1}).GetUTF16();
        if (model.GetText(start + 1, end - start - 1) == now) continue;
        edits.push_back(Edit{story, start, end - start - 1, std::move(now)});
    }
    std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) {
        return a.story != b.story ? a.story->GetUID() < b.story->GetUID() : a.start > b.start;
    });
    int32 changed = 0;
    for (const Edit& edit : edits) {
        if (edit.length > 0) {
            auto deleteCmd = std::make_shared<DeleteTextCmd>();
            deleteCmd->SetItemList(UIDList(edit.story->GetRef()));
            deleteCmd->index = edit.start + 1;
            deleteCmd->length = edit.length;
            if (CmdUtils::ProcessCommand(deleteCmd) != kSuccess) continue;
        }
        if (!edit.text.empty()) {
            auto insertCmd = std::make_shared<InsertTextCmd>();
            insertCmd->SetItemList(UIDList(edit.story->GetRef()));
            insertCmd->index = edit.start + 1;
            insertCmd->text = edit.text;
            if (CmdUtils::ProcessCommand(insertCmd) != kSuccess) continue;
        }
        ++changed;
    }
    return changed;
}

} // namespace CrossReferenceText
