// The session workspace: saved in the user's settings, read back by the next session, and kept
// safe from damaged files.
#include <gtest/gtest.h>

#include <fstream>

#include "IPMPersist.h"
#include "MemoryStreamWrite.h"
#include "TestUtils.h"
#include "Workspace.h"

namespace {

constexpr PMIID IID_ITESTSETTING = 0x7F0010;

// A persistent setting of a plug-in: a number and a text.
class ITestSetting : public IPMPersist {
public:
    enum { kDefaultIID = IID_ITESTSETTING };
    int32 mNumber = 7;
    PMString mText = "default";
    void Set(int32 number, const char* text)
    {
        PreDirty();
        mNumber = number;
        mText = text;
    }
    void ReadWrite(IPMStream* stream, ImplementationID) override
    {
        int32 number = mNumber;
        PMString text = mText;
        if (!stream->XferInt32(number) || !stream->XferString(text)) {
            stream->SetStreamState(IPMStream::kStreamStateFailure);
            return;
        }
        mNumber = number;
        mText = text;
    }
};

const bool gRegistered = [] {
    ObjectModel::Get().RegisterImplementation(0x7F0110, [] { return new ITestSetting; });
    ObjectModel::Get().AddInterface(kSessionWorkspaceBoss, IID_ITESTSETTING, 0x7F0110);
    return true;
}();

ITestSetting* Setting()
{
    InterfacePtr<ITestSetting> setting(GetSessionWorkspace(), IID_ITESTSETTING);
    return setting.get();  // the session holds the workspace
}

void WriteBytes(const IDFile& file, const std::string& bytes)
{
    std::ofstream(file.GetPath(), std::ios::binary) << bytes;
}

} // namespace

TEST(Session, Workspace_FreshInstallationThenRestart)
{
    FreshSession session;
    EXPECT_TRUE(session.problem.IsEmpty());
    ASSERT_TRUE(Setting());
    EXPECT_EQ(Setting()->mNumber, 7);
    PMString problem;
    EXPECT_EQ(Session::SaveWorkspace(problem), kSuccess);
    EXPECT_FALSE(session.File().Exists());  // nothing changed, nothing written

    Setting()->Set(42, "Caf\u00e9");
    ASSERT_EQ(session.Restart(), kSuccess);
    EXPECT_TRUE(session.File().Exists());
    EXPECT_EQ(Setting()->mNumber, 42);
    EXPECT_EQ(Setting()->mText, PMString("Caf\u00e9"));
    EXPECT_FALSE(GetSessionWorkspace()->IsDirty());
}

TEST(Session, Workspace_DamagedFileIsKeptUntilSomethingChanges)
{
    FreshSession session;
    WriteBytes(session.File(), "not settings");
    Session::CloseWorkspace();
    PMString problem;
    EXPECT_NE(Session::OpenWorkspace(session.File(), problem), kSuccess);
    EXPECT_EQ(problem.GetUTF8String(), "cannot read all the settings in " + session.File().GetPath().string() +
                                           " (it is not a Tessel workspace file); the defaults stand in for what "
                                           "could not be read, and the file is kept as it is until the settings change");
    EXPECT_EQ(Setting()->mNumber, 7);

    EXPECT_EQ(Session::SaveWorkspace(problem), kSuccess);
    EXPECT_EQ(ReadFile(session.File().GetPath().string()), "not settings");

    Setting()->Set(1, "changed");
    EXPECT_EQ(Session::SaveWorkspace(problem), kSuccess);
    EXPECT_EQ(ReadFile(session.File().GetPath().string() + ".damaged"), "not settings");
    ASSERT_EQ(session.Restart(), kSuccess);
    EXPECT_EQ(Setting()->mText, PMString("changed"));
}

TEST(Session, Workspace_EveryTruncatedFileReadsWhatItCan)
{
    FreshSession session;
    Setting()->Set(5, "five");
    ASSERT_EQ(session.Restart(), kSuccess);
    std::string whole = ReadFile(session.File().GetPath().string());
    for (size_t size = 0; size < whole.size(); ++size) {
        SCOPED_TRACE(size);
        WriteBytes(session.File(), whole.substr(0, size));
        PMString problem;
        EXPECT_NE(Session::OpenWorkspace(session.File(), problem), kSuccess);
        EXPECT_FALSE(problem.IsEmpty());
        ASSERT_TRUE(Setting());
        EXPECT_TRUE(Setting()->mNumber == 5 || Setting()->mNumber == 7);  // read whole, or the default
        EXPECT_EQ(Session::SaveWorkspace(problem), kSuccess);
        EXPECT_EQ(ReadFile(session.File().GetPath().string()), whole.substr(0, size));  // not written over
    }
}

TEST(Session, Workspace_PartsNoPlugInClaimsAreKept)
{
    // A part of a plug-in that is not loaded in this session, before the setting's part.
    MemoryStreamWrite out;
    int32 values[] = {Workspace::kMagic, Workspace::kVersion, 2, 0x7F0FFF, 3};
    for (int32& v : values) out.XferInt32(v);
    uchar foreign[] = {'a', 'b', 'c'};
    out.XferBytes(foreign, 3);
    int32 iid = IID_ITESTSETTING, length = 4 + 4 + 2;
    int32 number = 9;
    PMString text("x");
    out.XferInt32(iid), out.XferInt32(length), out.XferInt32(number), out.XferString(text);

    FreshSession session;
    WriteBytes(session.File(), std::string(out.GetBytes().begin(), out.GetBytes().end()));
    ASSERT_EQ(session.Restart(), kSuccess);
    EXPECT_EQ(Setting()->mNumber, 9);
    Setting()->Set(10, "y");
    ASSERT_EQ(session.Restart(), kSuccess);
    EXPECT_EQ(Setting()->mNumber, 10);
    EXPECT_NE(ReadFile(session.File().GetPath().string()).find("abc"), std::string::npos);
}

TEST(Session, CanSupply_AnswersForLoadedInterfaces)
{
    constexpr PMIID kCompanionIID = 0x7F0FF1;
    EXPECT_FALSE(Session::CanSupply(kCompanionIID));
    ObjectModel::Get().AddInterface(0x7F0FF1, kCompanionIID, 0x7F0FF1);
    EXPECT_TRUE(Session::CanSupply(kCompanionIID));
    ObjectModel::Get().RemoveInterface(0x7F0FF1, kCompanionIID);
    EXPECT_FALSE(Session::CanSupply(kCompanionIID));
}
