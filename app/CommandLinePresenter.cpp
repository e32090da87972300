#include "CommandLinePresenter.h"

#include <cstdio>

CommandLinePresenter::CommandLinePresenter(std::string prefix) : mPrefix(std::move(prefix))
{
    SetAlertListener([this](const Alert& alert) {
        // The command answers its own questions ("Do you want to delete preset ...?").
        if (alert.kind == AlertKind::kQuestion) return;
        if (alert.kind != AlertKind::kInformation) mRefused = true;
        std::fprintf(stderr, "%s: %s\n", mPrefix.c_str(), alert.text.GetUTF8String().c_str());
    });
}
