// The alert texts of the preferences' file problems, with the file's path in place of ^1.
#include <gtest/gtest.h>

#include "prefs/MifFileStatusAlert.h"

TEST(MifFileStatusAlert, Messages_TranslatedWithThePath)
{
    const IDFile file(std::filesystem::path("/home/ann/fonts ^2.csv"));
    auto message = [&](MifFileStatus status) { return MifFileStatusAlert::GetMessage(status, file).GetUTF8String(); };
    EXPECT_EQ(message(MifFileStatus::kCantOpen), "Can't open file '/home/ann/fonts ^2.csv'.");
    EXPECT_EQ(message(MifFileStatus::kCantSave), "Can't save file '/home/ann/fonts ^2.csv'.");
    EXPECT_EQ(message(MifFileStatus::kNotPresetFile), "This file is not Tessel preset file.");
    EXPECT_EQ(message(MifFileStatus::kNotMif), "File '/home/ann/fonts ^2.csv' is not a MIF file.");
    EXPECT_EQ(message(MifFileStatus::kDone), "");
    EXPECT_EQ(message(MifFileStatus::kUnknownVersion), "");  // ignored without a message
}
