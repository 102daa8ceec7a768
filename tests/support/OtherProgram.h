// Another program run beside a test (xclip on the X clipboard). The test's event loop goes on
// while it runs: the program may ask this process, the clipboard's owner, for what it holds.
#pragma once

#include "tests/support/EventWait.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

// Runs args[0] with the arguments, its standard input read from inPath, its standard output
// written to outPath, and waits for it to end; returns what it wrote, or nothing when it could
// not start or failed. One that does not end within the limit fails the test and is killed.
inline std::optional<std::string> RunOtherProgram(std::vector<std::string> args, const std::string& inPath,
                                                  const std::string& outPath)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv;
    std::string command;
    for (std::string& a : args) {
        argv.push_back(a.data());
        command += (command.empty() ? "" : " ") + a;
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return std::nullopt;
    int status = 0;
    const ::testing::AssertionResult ended =
        WaitUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, "\"" + command + "\" to end");
    if (!ended) {
        ADD_FAILURE() << ended.message();
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return std::nullopt;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    std::ifstream in(outPath, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
