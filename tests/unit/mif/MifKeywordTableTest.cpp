// The keyword table: sorted as lookup needs it, every keyword found by its name and named back by
// its id, the value kinds the parser relies on, and the ids that stored trees and code rely on.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "mif/MifKeywordTable.h"

TEST(MifKeywordTable, Rows_SortedByBytesForLookup)
{
    for (size_t i = 1; i < MifKeywordTable::kRowCount; ++i) {
        const char* a = MifKeywordTable::kRows[i - 1].name;
        const char* b = MifKeywordTable::kRows[i].name;
        EXPECT_LT(std::strcmp(a, b), 0) << a << " / " << b;  // strcmp compares as unsigned bytes
    }
    // Upper case before lower case, the back-quoted names last.
    EXPECT_STREQ(MifKeywordTable::kRows[MifKeywordTable::kRowCount - 1].name, "`KSC5601-1992'");
}

TEST(MifKeywordTable, Types_AnglesAreNumbers)
{
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

    // Two keywords share an id only where one is the other's old spelling.
    std::map<int32, std::vector<std::string>> names;
    for (const MifKeyword& row : MifKeywordTable::kRows) {
        EXPECT_GE(row.id, 2) << row.name;  // 0 and 1 are no keyword and the Inset pseudo-statement
        names[row.id].push_back(row.name);
    }
    for (const auto& [id, shared] : names) {
        if (shared.size() > 1) EXPECT_EQ(shared, (std::vector<std::string>{"DPDFAllPages", "DPDFFit"})) << id;
    }
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
