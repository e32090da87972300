// CommandRecorder: while one exists, every command that a command manager processes (the
// session's or a document's) is recorded with its class, its name and its result, and commands of
// a chosen class can be refused before they do anything. Tests of one step of the plug-in use it
// to see which changes the step asked for, and what the step does when one is refused, without
// running a whole import.
//
//     CommandRecorder recorder;
//     recorder.Refuse<SetDocNameCmd>();
//     ... run the step ...
//     EXPECT_EQ(recorder.Count<SetDocNameCmd>(), 1u);
#pragma once

#include <set>
#include <typeindex>
#include <typeinfo>
#include <vector>

#include "Command.h"

class CommandRecorder {
public:
    struct Entry {
        std::type_index type;
        PMString name;
        ErrorCode result;
    };

    CommandRecorder();
    ~CommandRecorder();
    CommandRecorder(const CommandRecorder&) = delete;
    CommandRecorder& operator=(const CommandRecorder&) = delete;

    // Commands of class `Cmd` fail with kFailure from now on, without doing anything.
    template <class Cmd>
    void Refuse() { mRefused.insert(typeid(Cmd)); }
    // How many commands of class `Cmd` were processed (refused ones included).
    template <class Cmd>
    size_t Count() const { return Count(typeid(Cmd)); }
    size_t Count(std::type_index type) const;
    const std::vector<Entry>& GetEntries() const { return mEntries; }

    // The recorder in effect, or null; the command managers ask it.
    static CommandRecorder* Active();
    // Whether `cmd` may run.
    bool Admits(const Command& cmd) const { return !mRefused.count(typeid(cmd)); }
    void Record(const Command& cmd, ErrorCode result) { mEntries.push_back({typeid(cmd), cmd.GetName(), result}); }

private:
    CommandRecorder* mOuter;
    std::set<std::type_index> mRefused;
    std::vector<Entry> mEntries;
};
