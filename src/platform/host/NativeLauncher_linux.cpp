#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
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
#include "platform/host/RunningProgram.h"

extern char** environ;

namespace korvale {

namespace {

std::string firstBytes(const std::string& path, std::size_t count) {
    std::ifstream file(path, std::ios::binary);
    std::string bytes(count, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(file.gcount(), 0)));
    return bytes;
}

bool isWindowsProgram(const std::string& path) {
    return firstBytes(path, 2) == "MZ";
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

// An argument vector for execve over strings that outlive it.
std::vector<char*> argumentVector(std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (auto& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    return argv;
}

// Both ends of a pipe, closed on exec and when the object goes.
class Pipe {
public:
    Pipe() {
        if (::pipe2(m_ends.data(), O_CLOEXEC) != 0) {
            m_ends = {-1, -1};
        }
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    ~Pipe() {
        closeReading();
        closeWriting();
    }
    bool ok() const noexcept { return m_ends[0] >= 0; }
    int reading() const noexcept { return m_ends[0]; }
    int writing() const noexcept { return m_ends[1]; }
    void closeReading() noexcept { closeEnd(0); }
    void closeWriting() noexcept { closeEnd(1); }

private:
    void closeEnd(std::size_t end) noexcept {
        if (m_ends[end] >= 0) {
            ::close(m_ends[end]);
            m_ends[end] = -1;
        }
    }
    std::array<int, 2> m_ends{-1, -1};
};

// Reads a whole value, or nothing when the other end closed first.
template <typename T>
bool readWhole(int fd, T& value) {
    ssize_t got = 0;
    do {
        got = ::read(fd, &value, sizeof value);
    } while (got < 0 && errno == EINTR);
    return got == static_cast<ssize_t>(sizeof value);
}

// How a program is started: directly, then through Wine when that start fails.
struct Command {
    std::string program;
    std::vector<std::string> direct;     // empty: not tried
    std::vector<std::string> underWine;  // empty: not tried
};

// A Windows program runs under Wine, executable bit or not (unzipped files and NTFS mounts set
// it). Marked executable, it is first started directly, which a binfmt_misc handler of the host
// may take; without one that start fails ("Exec format error") and Wine takes over.
Command commandFor(const std::string& program) {
    Command command{program, {program}, {}};
    if (!isWindowsProgram(program)) {
        return command;
    }
    if (::access(program.c_str(), X_OK) != 0) {
        command.direct.clear();
    }
    const std::string wine = findOnPath("wine");
    if (!wine.empty()) {
        command.underWine = {wine, program};
    } else if (command.direct.empty()) {
        throw FileError(program,
                        "Wine is not installed (no \"wine\" on PATH); it is needed to start this "
                        "Windows program");
    }
    return command;
}

void tell(int fd, const auto& value) {
    [[maybe_unused]] const auto written = ::write(fd, &value, sizeof value);
}

// The argument vectors of the direct start and of the start under Wine, built before the fork:
// the children only make calls that are safe after it.
using Starts = std::array<std::vector<char*>, 2>;

// In the game's own process: each start in turn; the last one's failure goes back to Korvale.
[[noreturn]] void runGame(const Starts& starts, int failure) {
    int error = 0;
    for (const auto& argv : starts) {
        if (argv[0] != nullptr) {
            ::execve(argv[0], argv.data(), environ);
            error = errno;
        }
    }
    tell(failure, error);
    ::_exit(127);
}

// Pipes closed on exec between Korvale, the intermediate child and the game: the game's process
// id, the reason when it could not be started, and the intermediate child's leave to exit.
struct StartPipes {
    Pipe started;
    Pipe failure;
    Pipe release;
};

// In the intermediate child: starts the game, tells Korvale its id, and exits once Korvale has
// taken hold of it, so that the game is never Korvale's child and leaves no zombie.
[[noreturn]] void runIntermediate(const Starts& starts, StartPipes& pipes) {
    pipes.started.closeReading();
    pipes.failure.closeReading();
    pipes.release.closeWriting();
    ::setsid();
    const pid_t game = ::fork();
    if (game == 0) {
        runGame(starts, pipes.failure.writing());
    }
    if (game < 0) {
        tell(pipes.failure.writing(), errno);
        ::_exit(127);
    }
    tell(pipes.started.writing(), game);
    char ignored = 0;
    [[maybe_unused]] const auto got = ::read(pipes.release.reading(), &ignored, 1);
    ::_exit(0);
}

// In Korvale: a descriptor of the game's process, taken before the intermediate child exits, so
// it can never name another process; -1 when the host has none. Raises FileError when the game
// could not be started.
int takeGame(const Command& command, pid_t child, StartPipes& pipes) {
    pipes.started.closeWriting();
    pipes.failure.closeWriting();
    pipes.release.closeReading();
    pid_t game = -1;
    int process = -1;
    if (readWhole(pipes.started.reading(), game)) {
        // The game cannot be reaped, nor its id reused, while the intermediate child waits.
        process = static_cast<int>(::syscall(SYS_pidfd_open, game, 0));
    }
    pipes.release.closeWriting();
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    if (readWhole(pipes.failure.reading(), error)) {
        if (process >= 0) {
            ::close(process);
        }
        // The reason is the last start's: Wine's when it was tried.
        throw FileError(command.underWine.empty() ? command.program : command.underWine[0],
                        std::generic_category().message(error));
    }
    return process;
}

}  // namespace

NativeLauncher::~NativeLauncher() {
    for (const auto& [path, process] : m_started) {
        ::close(static_cast<int>(process));
    }
}

void NativeLauncher::start(const std::string& path) {
    Command command = commandFor(NativeFileOps().nativeForm(path));
    const Starts starts{argumentVector(command.direct), argumentVector(command.underWine)};
    StartPipes pipes;
    if (!pipes.started.ok() || !pipes.failure.ok() || !pipes.release.ok()) {
        throw FileError(command.program, std::generic_category().message(errno));
    }
    const pid_t child = ::fork();
    if (child < 0) {
        throw FileError(command.program, std::generic_category().message(errno));
    }
    if (child == 0) {
        runIntermediate(starts, pipes);
    }
    const int process = takeGame(command, child, pipes);
    if (process >= 0) {
        forget(path);
        m_started.emplace(path, process);
    }
}

bool NativeLauncher::isRunning(const std::string& path) {
    // The game started here is known from its start on; Wine shows it by its program only once it
    // has loaded it.
    const auto found = m_started.find(path);
    if (found != m_started.end()) {
        pollfd ended{static_cast<int>(found->second), POLLIN, 0};
        if (::poll(&ended, 1, 0) == 0) {
            return true;
        }
        forget(path);
    }
    return isProgramRunning(path);
}

void NativeLauncher::forget(const std::string& path) noexcept {
    if (const auto found = m_started.find(path); found != m_started.end()) {
        ::close(static_cast<int>(found->second));
        m_started.erase(found);
    }
}

}  // namespace korvale
