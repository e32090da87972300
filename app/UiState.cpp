#include "UiState.h"

void UiState::Set(const std::string& name, std::string json)
{
    while (!json.empty() && (json.back() == '\n' || json.back() == ' ')) json.pop_back();
    {
        std::lock_guard<std::mutex> lock(mMutex);
        std::string& part = mParts[name];
        if (part == json) return;
        part = std::move(json);
        ++mVersion;
    }
    mChanged.notify_all();
}

std::string UiState::Snapshot() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    std::string out = "{\"version\": " + std::to_string(mVersion);
    for (const auto& [name, json] : mParts) out += ",\n\"" + name + "\": " + json;
    out += "}\n";
    return out;
}

uint64_t UiState::WaitForChange(uint64_t since, std::chrono::milliseconds timeout) const
{
    std::unique_lock<std::mutex> lock(mMutex);
    mChanged.wait_for(lock, timeout, [&] { return mVersion > since || mWoken; });
    return mVersion;
}

uint64_t UiState::GetVersion() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mVersion;
}

void UiState::Wake()
{
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mWoken = true;
    }
    mChanged.notify_all();
}
