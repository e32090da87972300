// The keyword table: its size, order, value kinds and the ids that other code relies on.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

#include "mif/MifKeywordTable.h"

TEST(MifKeywordTable, Rows_SortedByBytesAndCounted)
{
    ASSERT_EQ(MifKeywordTable::kRowCount, 816u);
    for (size_t i = 1; i < MifKeywordTable::kRowCount; ++i) {
        const char* a = MifKeywordTable::kRows[i - 1].name;
        const char* b = MifKeywordTable::kRows[i].name;
        EXPECT_LT(std::strcmp(a, b), 0) << a << " / " << b;  // strcmp compares as unsigned bytes
    }
    // Upper case before lower case, the back-quoted names last.
    EXPECT_STREQ(MifKeywordTable::kRows[MifKeywordTable::kRowCount - 1].name, "`KSC5601-1992'");
}

TEST(MifKeywordTable, Types_CountedPerKind)
{
    std::map<int32, int> perType;
    for (const MifKeyword& row : MifKeywordTable::kRows) ++perType[row.type];
    std::map<int32, int> expected = {{-1, 51}, {0, 238}, {1, 67},  {2, 46},  {3, 3},  {5, 94},  {6, 57},
                                     {7, 8},   {8, 69},  {9, 8},   {10, 21}, {12, 2}, {13, 1},  {14, 3},
                                     {15, 4},  {16, 3},  {17, 2},  {18, 66}, {20, 73}};
    EXPECT_EQ(perType, expected);
    // Arc angles are plain numbers of degrees, never lengths to convert by the file's units.
    for (const char* angle : {"ArcTheta", "ArcDTheta", "Angle"}) {
        int32 type = -1;
        EXPECT_GE(MifKeywordTable::Lookup(angle, &type), 0) << angle;
        EXPECT_EQ(type, kMifTypeNumber) << angle;
    }
}

TEST(MifKeywordTable, Ids_FixedAndDistinct)
{
    EXPECT_EQ(kMifInset, 1);
    EXPECT_EQ(MifKeywordTable::Lookup("Inset"), -1);  // a pseudo-statement, not in the table
    struct { const char* name; int32 id; } fixed[] = {
        {"MIFFile", 475}, {"Units", 760}, {"CharUnits", 65}, {"FNote", 352}, {"Notes", 491},
        {"`BIG5'", 25}, {"`FrameRoman'", 371}, {"`GB2312-80.EUC'", 393}, {"`JISX0208.ShiftJIS'", 437},
        {"`KSC5601-1992'", 441}, {"DPDFAllPages", 226}, {"DPDFFit", 226},
    };
    for (const auto& f : fixed) EXPECT_EQ(MifKeywordTable::Lookup(f.name), f.id) << f.name;

    std::set<int32> ids;
    for (const MifKeyword& row : MifKeywordTable::kRows) {
        EXPECT_GE(row.id, 2);
        EXPECT_LE(row.id, 818);
        EXPECT_NE(row.id, 310);
        EXPECT_NE(row.id, 773);
        ids.insert(row.id);
    }
    EXPECT_EQ(ids.size(), 815u);  // 816 rows, one id shared
}

TEST(MifKeywordTable, Lookup_TypesAndMisses)
{
    struct { const char* name; int32 type; } rows[] = {
        {"ElementBegin", -1}, {"FNote", -1}, {"Left", 0}, {"`FrameRoman'", 0}, {"FFamily", 1}, {"PgfTag", 2},
        {"TQ_FamilyEncoding", 2}, {"String", 3}, {"PgfNumString", 3}, {"FBold", 5}, {"DPDFAllPages", 5},
        {"DPDFFit", -1}, {"Pen", 6}, {"TextRectID", 7}, {"PgfLeading", 8}, {"MIFFile", 9}, {"TQ_Version", 9},
        {"ColorCyan", 10}, {"PageSize", 12}, {"TblColumnWidthA", 13}, {"Point", 14}, {"DMargins", 15},
        {"ShapeRect", 16}, {"DViewRect", 17}, {"PgfAlignment", 18}, {"Units", 18}, {"TextFlow", 20},
        {"TQ_EncodingTable", 20},
    };
    for (const auto& r : rows) {
        int32 type = 99;
        EXPECT_GT(MifKeywordTable::Lookup(r.name, &type), 0) << r.name;
        EXPECT_EQ(type, r.type) << r.name;
    }
    int32 type = 42;
    EXPECT_EQ(MifKeywordTable::Lookup("pgftag", &type), -1);  // case-sensitive
    EXPECT_EQ(type, 42);
    EXPECT_EQ(MifKeywordTable::Lookup(""), -1);
    EXPECT_EQ(MifKeywordTable::Lookup("PgfTagX"), -1);
    EXPECT_EQ(MifKeywordTable::Lookup("`FrameRoman"), -1);
    // Every row is found by its own name, and named back by its id.
    for (const MifKeyword& row : MifKeywordTable::kRows) {
        ASSERT_EQ(MifKeywordTable::Lookup(row.name), row.id) << row.name;
        EXPECT_STREQ(MifKeywordTable::GetName(row.id, row.type), row.name);
    }
}
