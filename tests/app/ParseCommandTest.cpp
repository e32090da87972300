// tessel parse, run as a user runs it: a file it cannot read (missing, a folder, a FIFO) gets exit
// status 1 and one line.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TestUtils.h"

#include "app/TesselRun.h"

TEST(ParseCommand, Refuses_MissingFileAndFolder)
{
    TempFolder config("parse-config");
    std::string missing = (config / "no-such-file.mif").string();
    TesselRun run = Tessel(config.Path(), "parse '" + missing + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tessel parse: cannot read " + missing + ": no such file\n");
    TesselRun folder = Tessel(config.Path(), "parse '" + config.Path().string() + "'");
    EXPECT_EQ(folder.status, 1);
    EXPECT_EQ(folder.err, "tessel parse: cannot read " + config.Path().string() + ": it is a folder\n");
    std::string pipe = (config / "pipe.mif").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    TesselRun fifo = Tessel(config.Path(), "parse '" + pipe + "'");
    EXPECT_EQ(fifo.status, 1);
    EXPECT_EQ(fifo.err, "tessel parse: cannot read " + pipe + ": it is not a regular file (a device, a FIFO or a socket)\n");
    TesselRun none = Tessel(config.Path(), "parse");
    EXPECT_EQ(none.status, 2);
}
