// MifTableFormat: a table's own TblFormat before its catalog format, and the values it refuses.
#include <gtest/gtest.h>

#include <limits>

#include "TestUtils.h"

#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "tables/MifTableFormat.h"

TEST(MifTableFormat, OwnFormatFirstThenCatalog)
{
    ParsedMif own("<TblFormat <TblTag `T'> <TblBlockSize 3> <TblSpBefore 4 pt>>");
    ParsedMif catalog("<TblFormat <TblTag `T'> <TblBlockSize 7> <TblHFColor `Red'> <TblTitlePlacement InFooter> <TblSpAfter 5 pt>>");
    const MifObject* ownFormat = own.root->GetObject(kMifTblFormat);
    const MifObject* catalogFormat = catalog.root->GetObject(kMifTblFormat);
    ASSERT_TRUE(ownFormat && catalogFormat);
    const MifTableFormat format(ownFormat, catalogFormat);
    int32 blockSize = 0;
    ASSERT_TRUE(format.GetInt(kMifTblBlockSize, blockSize));
    EXPECT_EQ(blockSize, 3);
    double space = 0;
    ASSERT_TRUE(format.GetDim(kMifTblSpAfter, space));  // only the catalog has it
    EXPECT_DOUBLE_EQ(space, 5);
    ASSERT_NE(format.GetString(kMifTblHFColor), nullptr);
    EXPECT_EQ(format.GetString(kMifTblHFColor)->GetUTF8String(), "Red");
    EXPECT_EQ(format.GetKeyword(kMifTblTitlePlacement), kMifInFooter);
    EXPECT_EQ(format.GetKeyword(kMifTblBlockSize), -1);  // not a keyword
    EXPECT_FALSE(format.GetInt(kMifTblHFColor, blockSize));  // not an integer
    EXPECT_EQ(MifTableFormat().Find(kMifTblBlockSize), nullptr);
}

TEST(MifTableFormat, IsLengthRefusesNoneAndDamagedLengths)
{
    EXPECT_TRUE(MifTableFormat::IsLength(12));
    EXPECT_FALSE(MifTableFormat::IsLength(0));
    EXPECT_FALSE(MifTableFormat::IsLength(-3));
    EXPECT_FALSE(MifTableFormat::IsLength(MifTableFormat::kMaxLength));
    EXPECT_FALSE(MifTableFormat::IsLength(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(MifTableFormat::IsLength(std::numeric_limits<double>::quiet_NaN()));
}
