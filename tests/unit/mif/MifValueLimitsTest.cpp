// Values past what InDesign holds: clamped to the nearest bound, each change reported with the
// statement's line.
#include <gtest/gtest.h>

#include <cmath>

#include "TestUtils.h"

#include "base/MifErrorLog.h"
#include "mif/MifValueLimits.h"

TEST(MifValueLimits, Clamp_ReportsEveryChangeWithItsLine)
{
    ParsedMif mif("<FSize 100000000000000000000 pt>\n<TRNumColumns 2147483647>\n<ColorTintPercentage -5>\n<FSize 12 pt>\n"
                  "<ShapeRect 0 0 99999999999\" 1\">");
    MifErrorLog errors;
    MifValueLimits limits(&errors);
    const MifProp& size = *mif.Prop(kMifFSize);
    EXPECT_EQ(limits.Clamp(size.value.dim[0], MifValueLimits::kFontSize, size), 1296);
    const MifProp& columns = *mif.Prop(kMifTRNumColumns);
    EXPECT_EQ(limits.Clamp(columns.value.id, MifValueLimits::kColumns, columns), 40);
    const MifProp& tint = *mif.Prop(kMifColorTintPercentage);
    EXPECT_EQ(limits.Clamp(tint.value.number, MifValueLimits::kPercent, tint), 0);
    const MifProp& rect = *mif.Prop(kMifShapeRect);
    EXPECT_EQ(limits.Clamp(rect.value.dim[2], MifValueLimits::kExtent, rect, "width"), 15552);
    EXPECT_EQ(limits.GetClampCount(), 4);
    EXPECT_EQ(errors.GetText().GetUTF8String(),
              "Line 1: FSize out of range (0.1 to 1296 pt), set to 1296 pt: 1e+20 pt\r\n"
              "Line 2: TRNumColumns out of range (1 to 40), set to 40: 2147483647\r\n"
              "Line 3: ColorTintPercentage out of range (0 to 100%), set to 0%: -5%\r\n"
              "Line 5: ShapeRect width out of range (0 to 15552 pt), set to 15552 pt: 7.2e+12 pt");

    // Values inside their range, or a rounding error outside it, pass without a word.
    errors.Clear();
    EXPECT_EQ(limits.Clamp(12.0, MifValueLimits::kFontSize, size), 12);
    EXPECT_EQ(limits.Clamp(100.000000001, MifValueLimits::kPercent, tint), 100);
    EXPECT_EQ(limits.Clamp(1, MifValueLimits::kColumns, columns), 1);
    EXPECT_TRUE(errors.IsEmpty());
    // Without a log the values are still kept in range.
    MifValueLimits silent(nullptr);
    EXPECT_EQ(silent.Clamp(-1e308, MifValueLimits::kCoordinate, rect), -15552);
    EXPECT_EQ(silent.Clamp(std::nan(""), MifValueLimits::kPageSide, rect), 1);
    EXPECT_EQ(silent.GetClampCount(), 2);
}
