// Where the import's text goes: the places of the flow's paragraphs, and the cells and footnotes
// that keep the place of the text that anchors them.
#include <gtest/gtest.h>

#include "content/MifImportState.h"

using Place = MifImportState::Place;

TEST(MifImportStateTest, Places_NestedTextKeepsTheHeadItIsIn)
{
    MifImportState state;
    EXPECT_FALSE(state.InNestedText());
    state.place = Place::kRunIn;
    MifImportState saved = state;
    state.EnterNestedText(Place::kFootnote);
    // A footnote in a run-in head is the footnote's text and still the head's.
    EXPECT_TRUE(state.In(Place::kFootnote));
    EXPECT_TRUE(state.In(Place::kRunIn));
    EXPECT_TRUE(state.InNestedText());
    EXPECT_FALSE(state.In(Place::kSidehead));
    EXPECT_FALSE(state.In(Place::kTableCell));
    // Leaving it restores the head alone.
    state = saved;
    EXPECT_FALSE(state.InNestedText());
    EXPECT_TRUE(state.In(Place::kRunIn));

    // The cells of a table in the body are in no head; the body's places are one at a time.
    MifImportState body;
    body.EnterNestedText(Place::kTableCell);
    EXPECT_TRUE(body.In(Place::kTableCell));
    EXPECT_TRUE(body.InNestedText());
    EXPECT_FALSE(body.In(Place::kRunIn) || body.In(Place::kSidehead) || body.In(Place::kStraddle));
    body = MifImportState();
    body.place = Place::kStraddle;
    EXPECT_TRUE(body.In(Place::kStraddle));
    EXPECT_FALSE(body.In(Place::kWideTable) || body.InNestedText());
}
