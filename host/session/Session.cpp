#include "Session.h"

#include <system_error>
#include <vector>

#include "AtomicFileWriter.h"
#include "InterfacePtr.h"
#include "MemoryStreamRead.h"
#include "MemoryStreamWrite.h"
#include "ObjectModel.h"
#include "SessionPaths.h"
#include "Workspace.h"

namespace {

// Settings are small; anything bigger than this is not a workspace file.
constexpr int64 kMaxWorkspaceFileSize = 64 << 20;

struct SessionState {
    InterfacePtr<IWorkspace> workspace;
    IDFile file;          // where the workspace is saved
    bool damaged = false; // the file could not be read whole
};

SessionState& State()
{
    static SessionState state;
    return state;
}

PMString Problem(const char* what, const IDFile& file, const PMString& why)
{
    PMString text(what);
    text += file.GetPathString();
    text += " (";
    text += why;
    text += ")";
    return text;
}

} // namespace

IWorkspace* GetSessionWorkspace()
{
    SessionState& state = State();
    if (!state.workspace) {
        ObjectModel& model = ObjectModel::Get();
        if (!model.HasInterface(kSessionWorkspaceBoss, IID_IWORKSPACE)) {
            model.RegisterImplementation(kWorkspaceImpl, [] { return new Workspace; });
            model.AddInterface(kSessionWorkspaceBoss, IID_IWORKSPACE, kWorkspaceImpl);
        }
        state.workspace = InterfacePtr<IWorkspace>(CreateObject2<IWorkspace>(kSessionWorkspaceBoss));
    }
    return state.workspace.get();
}

IDFile Session::GetWorkspaceFile()
{
    IDFile folder = SessionPaths::GetConfigFolder();
    return folder.IsEmpty() ? IDFile() : folder.Child("workspace.dat");
}

ErrorCode Session::OpenWorkspace(const IDFile& file, PMString& problem)
{
    CloseWorkspace();
    SessionState& state = State();
    state.file = file;
    IWorkspace* workspace = GetSessionWorkspace();
    if (!workspace) {
        problem = "the session workspace cannot be made";
        return kFailure;
    }
    if (file.IsEmpty() || !file.Exists()) return kSuccess;

    std::vector<uchar> bytes;
    ErrorCode status = StreamUtil::ReadFileBytes(file, kMaxWorkspaceFileSize, bytes);
    PMString why;
    if (status == kSuccess) {
        MemoryStreamRead stream(bytes.data(), bytes.size());
        status = workspace->Read(stream, why);
    } else {
        why = status == kFailure ? "it is too large to be a workspace file" : "it cannot be read";
    }
    workspace->ClearDirty();
    if (status != kSuccess) {
        state.damaged = true;
        problem = Problem("cannot read all the settings in ", file, why);
        problem += "; the defaults stand in for what could not be read, and the file is kept as it is until the "
                   "settings change";
    }
    return status;
}

ErrorCode Session::SaveWorkspace(PMString& problem)
{
    SessionState& state = State();
    if (!state.workspace || !state.workspace->IsDirty()) return kSuccess;
    if (state.file.IsEmpty()) {
        problem = "cannot save the settings: there is no folder for them (set $TESSEL_CONFIG_DIR or $HOME)";
        return kIOWriteError;
    }
    std::error_code ec;
    if (state.damaged && state.file.Exists()) {
        IDFile copy(state.file.GetPath().string() + ".damaged");
        std::filesystem::copy_file(state.file.GetPath(), copy.GetPath(),
                                   std::filesystem::copy_options::overwrite_existing, ec);
        if (ec) {
            problem = Problem("cannot keep a copy of the damaged settings file ", state.file, PMString(ec.message()));
            return kIOWriteError;
        }
    }
    MemoryStreamWrite stream;
    ErrorCode status = state.workspace->Write(stream);
    if (status == kSuccess) {
        const std::vector<uchar>& bytes = stream.GetBytes();
        status = AtomicFileWriter::Write(
            state.file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    if (status != kSuccess) {
        problem = Problem("cannot save the settings to ", state.file, "it cannot be written");
        return kIOWriteError;
    }
    state.damaged = false;
    state.workspace->ClearDirty();
    return kSuccess;
}

void Session::CloseWorkspace()
{
    SessionState& state = State();
    state.workspace = InterfacePtr<IWorkspace>();
    state.file = IDFile();
    state.damaged = false;
}

bool Session::CanSupply(PMIID iid) { return ObjectModel::Get().IsInterfaceProvided(iid); }
