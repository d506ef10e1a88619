#include "OutsideProgram.h"

#include <chrono>
#include <stdexcept>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace korvale::test {

#ifdef _WIN32

OutsideProgram::OutsideProgram(const std::vector<std::string>& arguments,
                               const std::filesystem::path& folder) {
    std::wstring commandLine;
    for (const std::string& argument : arguments) {
        const std::filesystem::path wide(std::u8string(argument.begin(), argument.end()));
        commandLine += (commandLine.empty() ? L"\"" : L" \"") + wide.wstring() + L"\"";
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.wstring().c_str(), &startup, &process)) {
        throw std::runtime_error("CreateProcessW failed");
    }
    CloseHandle(process.hThread);
    m_process = reinterpret_cast<std::intptr_t>(process.hProcess);
}

OutsideProgram::~OutsideProgram() {
    const auto process = reinterpret_cast<HANDLE>(m_process);
    if (!m_ended) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, INFINITE);
    }
    CloseHandle(process);
}

bool OutsideProgram::WaitForEnd(int seconds) {
    const auto process = reinterpret_cast<HANDLE>(m_process);
    m_ended = m_ended ||
              WaitForSingleObject(process, static_cast<DWORD>(seconds) * 1000) == WAIT_OBJECT_0;
    return m_ended;
}

#else

OutsideProgram::OutsideProgram(const std::vector<std::string>& arguments,
                               const std::filesystem::path& folder) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::chdir(folder.c_str()) == 0) {
            ::execvp(argv[0], argv.data());
        }
        ::_exit(127);
    }
    if (child < 0) {
        throw std::runtime_error("fork failed");
    }
    m_process = child;
}

OutsideProgram::~OutsideProgram() {
    if (!m_ended) {
        ::kill(static_cast<pid_t>(m_process), SIGKILL);
        int status = 0;
        ::waitpid(static_cast<pid_t>(m_process), &status, 0);
    }
}

bool OutsideProgram::WaitForEnd(int seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    while (!m_ended && std::chrono::steady_clock::now() < deadline) {
        m_ended = ::waitpid(static_cast<pid_t>(m_process), &status, WNOHANG) != 0;
        if (!m_ended) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    return m_ended;
}

#endif

}  // namespace korvale::test
