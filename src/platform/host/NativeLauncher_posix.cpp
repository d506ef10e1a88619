#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <vector>

#include "platform/files/FileError.h"
#include "platform/host/NativeFileOps.h"
#include "platform/host/NativeLauncher.h"

extern char** environ;

namespace korvale {

namespace {

bool isWindowsProgram(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::array<char, 2> magic{};
    return file.read(magic.data(), magic.size()) && magic[0] == 'M' && magic[1] == 'Z';
}

std::string findOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!folders.empty()) {
        const auto colon = folders.find(':');
        std::string folder(folders.substr(0, colon));
        folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
        const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

}  // namespace

void NativeLauncher::start(const std::string& path) {
    const std::string program = NativeFileOps().nativeForm(path);
    std::vector<std::string> arguments{program};
    // The game is a Windows program: on this host it runs under Wine.
    if (::access(program.c_str(), X_OK) != 0 && isWindowsProgram(program)) {
        const std::string wine = findOnPath("wine");
        if (wine.empty()) {
            throw FileError(program,
                            "Wine is not installed (no \"wine\" on PATH); it is needed "
                            "to start this Windows program");
        }
        arguments.insert(arguments.begin(), wine);
    }
    std::vector<char*> argv;
    for (auto& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    // The start is detached through an intermediate child that exits at once, so the game is
    // never Korvale's child and leaves no zombie; a pipe closed on exec carries back the reason
    // when the program could not be started.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        throw FileError(program, std::generic_category().message(errno));
    }
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        throw FileError(program, std::generic_category().message(error));
    }
    if (child == 0) {
        ::close(report[0]);
        ::setsid();
        const pid_t game = ::fork();
        if (game == 0) {
            ::execve(argv[0], argv.data(), environ);
        }
        if (game > 0) {
            ::_exit(0);
        }
        const int error = errno;
        [[maybe_unused]] const auto written = ::write(report[1], &error, sizeof error);
        ::_exit(127);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got = 0;
    do {
        got = ::read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    if (got == static_cast<ssize_t>(sizeof error)) {
        throw FileError(argv[0], std::generic_category().message(error));
    }
}

}  // namespace korvale
