// WorkerProcess: starts a worker process of the tessel command (a tessel convert of one file),
// as tessel batch and tessel ui run them: in a process group of its own, so that stopping it
// stops what it started; with no terminal to read from; with the default handling of the
// signals the caller catches.
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <string>
#include <vector>

namespace WorkerProcess {
// Starts `program` with `args` (after the program's name), its standard output going to
// `output` and its standard error to `error` (descriptors; -1 for /dev/null), its signal mask
// `mask`, and, when `memoryMegabytes` is above 0, its address space limited to that. The
// worker's process id, or -1 (errno set) when it could not start.
pid_t Start(const std::string& program, const std::vector<std::string>& args, int output, int error, const sigset_t& mask,
            long memoryMegabytes = 0);
}
