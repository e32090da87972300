#include "TerminalProgressRenderer.h"

#include <unistd.h>

#include <cstdio>

namespace {
constexpr int kBarWidth = 24;
constexpr size_t kMaxLine = 78;
constexpr auto kMinInterval = std::chrono::milliseconds(80);
} // namespace

TerminalProgressRenderer::TerminalProgressRenderer() : mEnabled(isatty(STDERR_FILENO) == 1) {}

void TerminalProgressRenderer::Update(const PMString& title, const PMString& taskText, double fraction)
{
    if (!mEnabled) return;
    auto now = std::chrono::steady_clock::now();
    int filled = static_cast<int>(fraction * kBarWidth + 0.5);
    // Appended piece by piece: "[" + a temporary string makes GCC 12 warn (-Wrestrict) in Release.
    std::string line = "[";
    line.append(static_cast<size_t>(filled), '#').append(static_cast<size_t>(kBarWidth - filled), ' ').append("] ");
    line += title.GetUTF8String();
    if (!taskText.IsEmpty()) line += ": " + taskText.GetUTF8String();
    if (line.size() > kMaxLine) line.resize(kMaxLine);
    // Redraw at most every few milliseconds: the parser updates its text many times a second.
    if (line == mLastLine || (mDrawn && now - mLastDraw < kMinInterval && fraction < 1.0)) return;
    std::fprintf(stderr, "\r%-*s", static_cast<int>(kMaxLine), line.c_str());
    std::fflush(stderr);
    mDrawn = true;
    mLastLine = line;
    mLastDraw = now;
}

void TerminalProgressRenderer::End()
{
    if (!mEnabled || !mDrawn) return;
    std::fprintf(stderr, "\r%-*s\r", static_cast<int>(kMaxLine), "");
    std::fflush(stderr);
    mDrawn = false;
    mLastLine.clear();
}
