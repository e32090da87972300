// DataBase: objects by UID, handed out in creation order; lookups after objects go and come back.
#include <gtest/gtest.h>

#include "DataBase.h"
#include "Document.h"
#include "Spread.h"
#include "Story.h"

TEST(DataBase, Objects_LookupsFollowDeleteReleaseAndRestore)
{
    DataBase db;
    std::vector<UID> stories;
    for (int i = 0; i < 5000; ++i) stories.push_back(db.Create<Story>()->GetUID());
    Page* page = db.Create<Page>();
    EXPECT_EQ(stories.front(), db.GetDocument()->GetUID() + 1);
    EXPECT_EQ(page->GetUID(), stories.back() + 1);
    EXPECT_EQ(db.Get<Story>(stories[4321])->GetUID(), stories[4321]);
    EXPECT_EQ(db.Get<Page>(stories[4321]), nullptr);   // another type
    EXPECT_EQ(db.Find(page->GetUID() + 1), nullptr);   // not handed out yet
    EXPECT_EQ(db.Find(kInvalidUID), nullptr);

    ASSERT_TRUE(db.Delete(stories[10]));
    EXPECT_FALSE(db.ExistsInDB(stories[10]));
    EXPECT_EQ(db.Find(stories[10]), nullptr);
    EXPECT_FALSE(db.Delete(stories[10]));
    EXPECT_FALSE(db.Delete(db.GetDocument()->GetUID()));   // the root stays

    std::unique_ptr<DocObject> released = db.Release(stories[11]);
    ASSERT_TRUE(released);
    EXPECT_FALSE(db.ExistsInDB(stories[11]));
    db.Restore(std::move(released));
    EXPECT_TRUE(db.ExistsInDB(stories[11]));
    EXPECT_EQ(db.Get<Story>(stories[11])->GetDataBase(), &db);
    // A new object never takes the UID of one that went.
    EXPECT_EQ(db.Create<Story>()->GetUID(), page->GetUID() + 1);
    EXPECT_EQ(db.GetObjects().size(), 5002u);   // the document, 5000 - 1 + 1 stories, the page
}
