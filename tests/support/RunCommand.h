// Runs a shell command and collects what it wrote to its standard output (add 2>&1 for
// the error output) and its exit code.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace TestSupport {

struct TCommandRun {
    int ExitCode = -1; // -1 when it did not start or did not exit by itself
    std::string Output;
};

inline TCommandRun RunCommand(const std::string& command) {
    TCommandRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char chunk[256];
    while (const size_t got = std::fread(chunk, 1, sizeof chunk, pipe))
        run.Output.append(chunk, got);
    const int status = ::pclose(pipe);
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace TestSupport
