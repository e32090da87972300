#include "WorkerProcess.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

pid_t WorkerProcess::Start(const std::string& program, const std::vector<std::string>& args, int output, int error,
                           const sigset_t& mask, long memoryMegabytes)
{
    // Everything the child needs is made before the fork: after it, only calls that are safe in
    // the child of a program with threads.
    std::vector<std::string> words = args;
    words.insert(words.begin(), program);
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = ::fork();
    if (pid != 0) {
        if (pid > 0) ::setpgid(pid, pid);
        return pid;
    }
    ::setpgid(0, 0);
    ::signal(SIGINT, SIG_DFL);
    ::signal(SIGTERM, SIG_DFL);
    ::signal(SIGCHLD, SIG_DFL);
    ::signal(SIGPIPE, SIG_DFL);
    ::sigprocmask(SIG_SETMASK, &mask, nullptr);
    int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) ::dup2(null, STDIN_FILENO);
    ::dup2(output >= 0 ? output : null, STDOUT_FILENO);
    ::dup2(error >= 0 ? error : null, STDERR_FILENO);
    if (memoryMegabytes > 0) {
        rlim_t bytes = static_cast<rlim_t>(memoryMegabytes) * 1024 * 1024;
        struct rlimit limit = {bytes, bytes};
        ::setrlimit(RLIMIT_AS, &limit);
    }
    ::execv(program.c_str(), argv.data());
    std::fprintf(stderr, "tessel convert: cannot start %s: %s\n", program.c_str(), std::strerror(errno));
    ::_exit(127);
}
