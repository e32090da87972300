// Running the tessel command as a user runs it, with settings of its own.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "TestUtils.h"

struct TesselRun {
    int status;        // the exit status; -1 when the command did not exit (a crash)
    std::string out;   // standard output
    std::string err;   // standard error
};

// Runs tessel with `args` (shell words), the settings in `config` and, when `folder` is given,
// in that folder; standard error goes through a file in `config`.
inline TesselRun Tessel(const std::filesystem::path& config, const std::string& args,
                        const std::filesystem::path& folder = {})
{
    std::filesystem::path err = config / "stderr.txt";
    std::string command = (folder.empty() ? "" : "cd '" + folder.string() + "' && ") + "TESSEL_CONFIG_DIR='" +
                          config.string() + "' '" TESSEL_APP_PATH "' " + args + " 2>'" + err.string() + "'";
    TesselRun run{-1, "", ""};
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
        int status = pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    run.err = ReadFile(err.string());
    std::filesystem::remove(err);
    return run;
}
