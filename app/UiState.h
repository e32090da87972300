// UiState: what the page of tessel ui shows, as JSON in named parts (the folder, the menus, the
// open dialogs, the alert, the file dialog, the jobs), with a version that grows with every
// change. The host thread and the job runner set parts; the server's threads read the whole and
// wait for the next change (the page's long poll).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

class UiState {
public:
    // Sets part `name` to `json` (a JSON value as text); the version grows when it changed.
    void Set(const std::string& name, std::string json);
    // The state as one JSON object: "version" and every part.
    std::string Snapshot() const;
    // Waits until the version is above `since`, or `timeout` passed, or Wake; the version then.
    uint64_t WaitForChange(uint64_t since, std::chrono::milliseconds timeout) const;
    uint64_t GetVersion() const;
    // Ends every wait at once (the server stops).
    void Wake();

private:
    mutable std::mutex mMutex;
    mutable std::condition_variable mChanged;
    std::map<std::string, std::string> mParts;
    uint64_t mVersion = 1;
    bool mWoken = false;
};
