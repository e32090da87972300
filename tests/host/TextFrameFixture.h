// TextFrameFixture: an open document of two pages whose text frames are made with the frame
// commands and hold text set in DejaVu Sans, for tests of what depends on composed text.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "NewDocCmd.h"
#include "Spread.h"
#include "Story.h"
#include "StyleUtils.h"
#include "TextComposer.h"
#include "TextFrameCommands.h"

class TextFrameFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto newDocCmd = std::make_shared<NewDocCmd>();
        newDocCmd->GetData().numPages = 2;
        ASSERT_EQ(CmdUtils::ProcessCommand(newDocCmd), kSuccess);
        db = newDocCmd->GetItemList().GetDataBase();
    }
    void TearDown() override
    {
        for (DataBase* d : DocumentList::GetDocuments()) DocumentList::Close(d);
    }

    // A `width` x `height` frame at the top left of the first page, its first baseline by
    // leading and `columns` columns 12 pt apart; kInvalidUID when refused.
    UID AddFrame(PMReal width, PMReal height, int32 columns = 1)
    {
        const Spread* spread = db->Get<Spread>(db->GetDocument()->spreads.at(0));
        const PMRect& page = db->Get<Page>(spread->pages.at(0))->boundsInSpread;
        return AddFrameAt(page.left, page.top, width, height, columns);
    }
    UID AddFrameAt(PMReal x, PMReal y, PMReal width, PMReal height, int32 columns = 1)
    {
        auto createTextFrameCmd = std::make_shared<CreateTextFrameCmd>();
        createTextFrameCmd->SetItemList(UIDList(UIDRef(db, db->GetDocument()->spreads.at(0))));
        createTextFrameCmd->bounds = PMRect(0, 0, width, height);
        createTextFrameCmd->transform = PMMatrix::Translation(x, y);
        if (CmdUtils::ProcessCommand(createTextFrameCmd) != kSuccess) return kInvalidUID;
        UID frame = createTextFrameCmd->GetItemList().At(0);
        Frame(frame).firstBaselineOffset = FirstBaselineOffset::kLeadingOffset;
        auto changeNumberOfColumnsCmd = std::make_shared<ChangeNumberOfColumnsCmd>();
        changeNumberOfColumnsCmd->SetItemList(UIDList(UIDRef(db, frame)));
        changeNumberOfColumnsCmd->columnCount = columns;
        changeNumberOfColumnsCmd->gutter = 12;
        EXPECT_EQ(CmdUtils::ProcessCommand(changeNumberOfColumnsCmd), kSuccess);
        return frame;
    }
    // Threads `b` after `a`.
    void Link(UID a, UID b)
    {
        auto textLinkCmd = std::make_shared<TextLinkCmd>();
        UIDList items(db);
        items.Append(a);
        items.Append(b);
        textLinkCmd->SetItemList(items);
        ASSERT_EQ(CmdUtils::ProcessCommand(textLinkCmd), kSuccess);
    }
    // Puts `lines` short paragraphs ("Line 1", "Line 2", ...) in the frame's story, in DejaVu
    // Sans 10 pt on a 12 pt leading: each paragraph is one line.
    void AddLines(UID frame, int32 lines)
    {
        std::u16string text;
        for (int32 i = 1; i <= lines; ++i) {
            if (i > 1) text += u'\r';
            std::string line = "Line " + std::to_string(i);
            text.append(line.begin(), line.end());
        }
        Story& story = StoryOf(frame);
        story.textModel.Insert(0, text);
        AttributeBossList attributes;
        attributes.ApplyAttribute(TextAttribute::kFontFamily, DocFontMgr::GetFontFamilyUID(*db, "DejaVu Sans"));
        attributes.ApplyAttribute(TextAttribute::kFontStyle, PMString("Book"));
        attributes.ApplyAttribute(TextAttribute::kPointSize, PMReal(10));
        attributes.ApplyAttribute(TextAttribute::kLeading, PMReal(12));
        story.textModel.ApplyAttributes(attributes, 0, story.textModel.TotalLength());
    }
    // The height `lines` lines need: the last baseline (the first a leading below the top, the
    // others a leading apart) plus the descent.
    PMReal HeightOfLines(int32 lines)
    {
        const FontFaceEntry* face = TextComposer::Get().GetFontCache().GetFace(PMString("DejaVu Sans"), PMString("Book"));
        return 12 * lines + face->descent * 10;
    }

    TextFrame& Frame(UID frame) const { return *db->Get<TextFrame>(frame); }
    Story& StoryOf(UID frame) const { return *db->Get<Story>(Frame(frame).story); }
    PMReal Height(UID frame) const { return Frame(frame).pathBounds.Height(); }
    // The story composed from scratch, as a document opened afresh shows it.
    const FrameList& ComposedAfresh(UID frame)
    {
        StoryOf(frame).frameList.Reset();
        TextComposer::Get().Compose(StoryOf(frame));
        return StoryOf(frame).frameList;
    }

    DataBase* db = nullptr;
};
