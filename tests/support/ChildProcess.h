// A helper program run by a test: its standard input and output are pipes, so
// the test can read its lines with a time-out and end it when it likes. The
// child is killed when the object goes, so no test leaves one behind.
#pragma once

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace TestSupport {

class TChildProcess {
public:
    TChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
        int input[2];
        int output[2];
        if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0)
            throw std::runtime_error("cannot create pipes for " + program);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        const int failed =
            ::posix_spawn(&FPid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(input[0]);
        ::close(output[1]);
        FInput = input[1];
        FOutput = output[0];
        if (failed != 0) {
            FPid = -1;
            throw std::runtime_error("cannot start " + program);
        }
    }
    ~TChildProcess() {
        if (FInput >= 0)
            ::close(FInput);
        Kill();
        ::close(FOutput);
    }
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;

    // Writes to its standard input; false when it no longer reads (with SIGPIPE ignored).
    bool Write(const std::string& text) {
        size_t done = 0;
        while (done < text.size()) {
            const ssize_t written = ::write(FInput, text.data() + done, text.size() - done);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            done += static_cast<size_t>(written);
        }
        return true;
    }

    // The next line of its output, without the newline; false once its output
    // ended or after timeoutMs.
    bool ReadLine(std::string& line, int timeoutMs) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (true) {
            const size_t end = FBuffered.find('\n');
            if (end != std::string::npos) {
                line = FBuffered.substr(0, end);
                FBuffered.erase(0, end + 1);
                return true;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  deadline - std::chrono::steady_clock::now())
                                  .count();
            pollfd fd{FOutput, POLLIN, 0};
            if (left <= 0 || ::poll(&fd, 1, static_cast<int>(left)) <= 0)
                return false;
            char buffer[4096];
            const ssize_t got = ::read(FOutput, buffer, sizeof buffer);
            if (got <= 0)
                return false;
            FBuffered.append(buffer, static_cast<size_t>(got));
        }
    }

    // Its exit code once it ended by itself (128 + the signal when a signal ended it), or
    // nothing when it is still running after timeoutMs.
    std::optional<int> WaitForExit(int timeoutMs) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (FPid > 0) {
            int status = 0;
            const pid_t done = ::waitpid(FPid, &status, WNOHANG);
            if (done == FPid) {
                FPid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            if (done < 0 && errno != EINTR)
                return std::nullopt;
            if (std::chrono::steady_clock::now() >= deadline)
                return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return std::nullopt;
    }

    // Kills it at once, as a crash or a pulled plug would end it.
    void Kill() {
        if (FPid <= 0)
            return;
        ::kill(FPid, SIGKILL);
        int status;
        while (::waitpid(FPid, &status, 0) < 0 && errno == EINTR) {
        }
        FPid = -1;
    }

private:
    pid_t FPid = -1;
    int FInput = -1;
    int FOutput = -1;
    std::string FBuffered;
};

} // namespace TestSupport
