#include "ChildRun.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

ChildRun RunProgram(const std::string& program, const std::vector<std::string>& arguments)
{
    ChildRun run;
    // Built before the fork: the child only calls what is safe there.
    std::vector<char*> argv;
    std::string path = program;
    argv.push_back(path.data());
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);

    int channel[2];
    if (pipe(channel) != 0) return run;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        dup2(channel[1], STDOUT_FILENO);
        close(channel[0]);
        close(channel[1]);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(channel[1]);
    char buffer[4096];
    for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;) run.output.append(buffer, static_cast<std::size_t>(got));
    close(channel[0]);
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) return run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakKilobytes = usage.ru_maxrss;
    run.exitedCleanly = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

ChildRun RunSelf(const std::vector<std::string>& arguments) { return RunProgram("/proc/self/exe", arguments); }
