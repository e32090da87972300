#include "CommandRecorder.h"

#include <algorithm>

namespace {

CommandRecorder* sActive = nullptr;

} // namespace

CommandRecorder::CommandRecorder() : mOuter(sActive) { sActive = this; }

CommandRecorder::~CommandRecorder() { sActive = mOuter; }

CommandRecorder* CommandRecorder::Active() { return sActive; }

size_t CommandRecorder::Count(std::type_index type) const
{
    return static_cast<size_t>(std::count_if(mEntries.begin(), mEntries.end(), [&](const Entry& e) { return e.type == type; }));
}
