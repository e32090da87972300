// MifCommandRunner: runs one host command for the import, on the items it names, and writes a
// failure to the diagnostic log under the command's name, so that call sites say only what the
// command is to do:
//
//     auto resizeCmd = std::make_shared<ResizeColumnsCmd>();
//     resizeCmd->realNumberData = width;
//     MIF_RUN_COMMAND(resizeCmd, UIDList(table));   // "MifTableImporter.cpp(368): resizeCmd failed"
#pragma once

#include <memory>
#include <utility>

#include "Command.h"
#include "UIDRef.h"

class MifCommandRunner {
public:
    // Processes `cmd` (its item list set beforehand); its error code, and a line in the diagnostic
    // log naming `name` at `sourceFile`(`sourceLine`) when it does not succeed.
    static ErrorCode Process(const std::shared_ptr<Command>& cmd, const char* sourceFile, int32 sourceLine, const char* name);
    // The same, on `items`.
    template <class Cmd>
    static ErrorCode Process(const std::shared_ptr<Cmd>& cmd, const UIDList& items, const char* sourceFile, int32 sourceLine,
                             const char* name)
    {
        cmd->SetItemList(items);
        return Process(std::static_pointer_cast<Command>(cmd), sourceFile, sourceLine, name);
    }
    // Whether Process succeeds.
    template <class... Args>
    static bool Run(Args&&... args)
    {
        return Process(std::forward<Args>(args)...) == kSuccess;
    }
};

// Whether the command succeeded.
#define MIF_RUN_COMMAND(cmd, ...) MifCommandRunner::Run(cmd __VA_OPT__(, ) __VA_ARGS__, __FILE__, __LINE__, #cmd)
// The command's error code, for callers that hand it on.
#define MIF_PROCESS_COMMAND(cmd, ...) MifCommandRunner::Process(cmd __VA_OPT__(, ) __VA_ARGS__, __FILE__, __LINE__, #cmd)
