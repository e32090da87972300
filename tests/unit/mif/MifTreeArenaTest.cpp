// The memory of the statement tree: the arena a parsed tree lives in, the props list of a body,
// and the builder that makes a tree in an arena or on the heap. Leaks and double frees show under
// the sanitized build.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "TestUtils.h"

#include "mif/MifFacetList.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "mif/MifTreeArena.h"
#include "mif/MifTreeBuilder.h"

namespace {

struct ArenaDeleter {
    void operator()(MifTreeArena* arena) const { MifTreeArena::Destroy(arena); }
};
using ArenaPtr = std::unique_ptr<MifTreeArena, ArenaDeleter>;

// A string longer than any that fits inside its head, so that its characters are on the heap.
std::string Long(int n) { return "paragraph text long enough to leave its head, number " + std::to_string(n); }

} // namespace

TEST(MifTreeArena, AllocationsAlignedDisjointAndHeadFoundAgain)
{
    ArenaPtr arena(MifTreeArena::Create(24));
    ASSERT_NE(arena, nullptr);
    EXPECT_EQ(MifTreeArena::FromHead(arena->GetHead()), arena.get());
    std::memset(arena->GetHead(), 0xAB, 24);
    // Odd sizes, sizes that fill a block's tail, and sizes that need a block of their own.
    std::vector<std::pair<unsigned char*, size_t>> parts;
    size_t sizes[] = {1, 7, 40, 3000, 9000, 0, 8, 65536, 200000, 13, 5000};
    for (int round = 0; round < 30; ++round) {
        for (size_t size : sizes) {
            auto* p = static_cast<unsigned char*>(arena->Allocate(size));
            ASSERT_EQ(reinterpret_cast<uintptr_t>(p) % MifTreeArena::kAlignment, 0u) << size;
            std::memset(p, static_cast<int>(parts.size() & 0xFF), size);
            parts.emplace_back(p, size);
        }
    }
    // Every part still holds its own bytes: no two overlap, nor do they overlap the head.
    for (size_t i = 0; i < parts.size(); ++i)
        for (size_t b = 0; b < parts[i].second; ++b)
            ASSERT_EQ(parts[i].first[b], static_cast<unsigned char>(i & 0xFF)) << "part " << i;
    for (int b = 0; b < 24; ++b) EXPECT_EQ(static_cast<unsigned char*>(arena->GetHead())[b], 0xAB);
}

TEST(MifTreeArena, HoldsLittleMoreThanWhatWasAsked)
{
    // Many small parts, as a tree has: the blocks exceed them by their last tail and headers.
    ArenaPtr small(MifTreeArena::Create(0));
    size_t asked = 0;
    for (int i = 0; i < 100000; ++i) {
        small->Allocate(40);
        asked += 40;
    }
    EXPECT_GE(small->GetSize(), asked);
    EXPECT_LE(small->GetSize(), asked + asked / 50 + 65536);

    // Parts just too large to share a block take their own, and leave the current block's tail
    // to the small ones that follow.
    ArenaPtr mixed(MifTreeArena::Create(0));
    asked = 0;
    for (int i = 0; i < 200; ++i) {
        mixed->Allocate(8200);
        for (int j = 0; j < 100; ++j) mixed->Allocate(16);
        asked += 8200 + 1600;
    }
    EXPECT_LE(mixed->GetSize(), asked + asked / 20 + 65536);

    // A tiny tree keeps a tiny arena.
    ArenaPtr tiny(MifTreeArena::Create(32));
    tiny->Allocate(100);
    EXPECT_LE(tiny->GetSize(), 4096u);
}

TEST(MifPropList, GrowsInOrderAndFreesItsArray)
{
    MifObject root(0, 1);
    EXPECT_TRUE(root.props.empty());
    for (int32 i = 0; i < 1000; ++i) {
        MifPropVal value;
        value.id = i;
        root.AddProp(new MifProp(kMifPen, kMifTypeInt, value, i));
    }
    ASSERT_EQ(root.props.size(), 1000u);
    ASSERT_EQ(root.GetPropCount(), 1000);
    int32 expected = 0;
    for (const MifProp* prop : root.props) EXPECT_EQ(prop->value.id, expected++);
    EXPECT_EQ(root.props[999]->line, 999);
    EXPECT_EQ(root.props.end() - root.props.begin(), 1000);
    EXPECT_TRUE(MifPropList::Empty().empty());
    EXPECT_EQ(MifPropList::Empty().begin(), MifPropList::Empty().end());
}

TEST(MifTreeBuilder, ArenaAndHeapTreesReadAndFreeAlike)
{
    for (bool inArena : {true, false}) {
        SCOPED_TRACE(inArena ? "arena" : "heap");
        MifTreeBuilder builder(inArena);
        EXPECT_EQ(builder.InArena(), inArena);
        MifObject* root = builder.NewRoot(1);
        std::vector<MifProp*> rootProps;
        for (int32 n = 0; n < 3; ++n) {
            // A body holding a long string, a short one, a facet list and an empty body.
            MifObject* para = builder.NewObject(kMifPara, 2 + n);
            std::vector<MifProp*> paraProps;
            MifPropVal text;
            text.rawString = builder.NewString();
            *text.rawString = PMString(Long(n));
            paraProps.push_back(builder.NewProp(kMifString, kMifTypeString, text, 3));
            MifPropVal tag;
            tag.tagString = builder.NewString();
            *tag.tagString = PMString("Body");
            paraProps.push_back(builder.NewProp(kMifPgfTag, kMifTypeTag, tag, 4));
            MifPropVal facets;
            facets.facets = new MifFacetList;
            const uchar bytes[] = {1, 2, 3};
            facets.facets->Add(PMString("GIF"), bytes, 3);
            paraProps.push_back(builder.NewProp(kMifInset, kMifTypeFacets, facets, 5));
            MifPropVal empty;
            empty.object = builder.NewObject(kMifParaLine, 6);
            builder.SetProps(*empty.object, nullptr, 0);
            paraProps.push_back(builder.NewProp(kMifParaLine, kMifTypeObject, empty, 6));
            builder.SetProps(*para, paraProps.data(), paraProps.size());
            MifPropVal body;
            body.object = para;
            rootProps.push_back(builder.NewProp(kMifPara, kMifTypeObject, body, 7));
        }
        builder.SetProps(*root, rootProps.data(), rootProps.size());
        std::unique_ptr<MifObject> tree(builder.ReleaseRoot());
        ASSERT_EQ(tree.get(), root);
        int count = 0;
        for (const MifObject& para : tree->Children(kMifPara)) {
            ASSERT_NE(para.GetString(kMifString), nullptr);
            EXPECT_EQ(para.GetString(kMifString)->GetUTF8String(), Long(count));
            EXPECT_EQ(*para.GetString(kMifPgfTag), PMString("Body"));
            EXPECT_EQ(para.FindProp(kMifInset)->value.facets->GetSize(0), 3);
            ASSERT_NE(para.GetObject(kMifParaLine), nullptr);
            EXPECT_EQ(para.GetObject(kMifParaLine)->GetPropCount(), 0);
            ++count;
        }
        EXPECT_EQ(count, 3);
    }
}

TEST(MifTreeBuilder, UnfinishedTreeFreedWithTheBuilder)
{
    // A parse stopped by an exception: the builder frees the root it still holds, and with it
    // what was already added.
    for (bool inArena : {true, false}) {
        MifTreeBuilder builder(inArena);
        MifObject* root = builder.NewRoot(1);
        MifPropVal text;
        text.rawString = builder.NewString();
        *text.rawString = PMString(Long(1));
        MifProp* prop = builder.NewProp(kMifString, kMifTypeString, text, 2);
        builder.SetProps(*root, &prop, 1);
    }
}

TEST(MifTreeBuilder, ParsedTreeIsNotChanged)
{
    ParsedMif mif("<Pen 1>");
    MifPropVal value;
    auto prop = std::make_unique<MifProp>(kMifPen, kMifTypeInt, value, 1);
    EXPECT_THROW(mif.root->AddProp(prop.get()), std::logic_error);
    EXPECT_EQ(mif.root->GetPropCount(), 1);
}

TEST(MifParser, ArenaTree_ManyBodiesLongStringsAndLongLists)
{
    // More props than one block holds, a body whose props array needs a block of its own, long
    // strings at every depth and bodies nested deeply: all read back, all freed with the root.
    std::string mif = "<MIFFile 9.00>\n<TextFlow\n";
    for (int n = 0; n < 3000; ++n) mif += " <Para <Unique " + std::to_string(n) + "> <ParaLine <String `" + Long(n) + "'>>>\n";
    mif += ">\n";
    for (int n = 0; n < 40; ++n) mif += "<Page ";
    mif += "<PageTag `" + Long(-1) + "'>";
    for (int n = 0; n < 40; ++n) mif += ">";
    ParsedMif parsed(mif);
    ASSERT_NE(parsed.root, nullptr);
    EXPECT_EQ(parsed.ErrorText(), "");
    const MifObject* flow = parsed.root->GetObject(kMifTextFlow);
    ASSERT_NE(flow, nullptr);
    ASSERT_EQ(flow->GetPropCount(), 3000);
    int n = 0;
    for (const MifObject& para : flow->Children(kMifPara)) {
        MifPropVal unique;
        ASSERT_TRUE(para.GetPropVal(kMifUnique, unique));
        EXPECT_EQ(unique.id, n);
        const MifObject* line = para.GetObject(kMifParaLine);
        ASSERT_NE(line, nullptr);
        ASSERT_NE(line->GetString(kMifString), nullptr);
        EXPECT_EQ(line->GetString(kMifString)->GetUTF8String(), Long(n));
        ++n;
    }
    EXPECT_EQ(n, 3000);
    const MifObject* page = parsed.root->GetObject(kMifPage);
    for (int depth = 1; depth < 40 && page; ++depth) page = page->GetObject(kMifPage);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetString(kMifPageTag)->GetUTF8String(), Long(-1));
}

TEST(MifParser, RootFindsItsStatementsByKeyword)
{
    // A long file's root: a statement per page, catalogs before and after them, a keyword that
    // comes twice and one that never does. The root's index answers what a walk of its statements
    // answers: the first or the last of a keyword, a container's body, nothing for an absent one.
    std::string mif = "<MIFFile 9.00>\n<Units Uin>\n<PgfCatalog <Pgf <PgfTag `Body'>>>\n";
    for (int n = 0; n < 500; ++n) mif += "<Page <PageNum `" + std::to_string(n + 1) + "'>>\n";
    mif += "<Units Ucm>\n<TblCatalog <TblFormat <TFTag `Format A'>>>\n";
    ParsedMif parsed(mif);
    ASSERT_NE(parsed.root, nullptr);
    ASSERT_EQ(parsed.ErrorText(), "");
    const MifObject& root = *parsed.root;
    ASSERT_NE(root.GetRootIndex(), nullptr);
    auto walk = [&](int32 id, bool first) {
        MifProp* found = nullptr;
        for (int32 i = 0; i < root.GetPropCount(); ++i)
            if (root.GetProp(i)->id == id) {
                if (first) return root.GetProp(i);
                found = root.GetProp(i);
            }
        return found;
    };
    for (int32 id : {kMifMIFFile, kMifUnits, kMifPgfCatalog, kMifPage, kMifTblCatalog, kMifTextFlow, kMifRulingCatalog})
        for (bool first : {true, false}) EXPECT_EQ(root.FindProp(id, first), walk(id, first)) << id << (first ? " first" : " last");
    ASSERT_NE(root.GetObject(kMifTblCatalog), nullptr);
    EXPECT_EQ(root.GetObject(kMifRulingCatalog), nullptr);
    EXPECT_NE(root.FindProp(kMifPage, true), root.FindProp(kMifPage, false));
    // Bodies inside the tree have no index of their own.
    EXPECT_EQ(root.GetObject(kMifPgfCatalog)->GetRootIndex(), nullptr);
}
