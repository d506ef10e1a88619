#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/host/NativeHostEnvironment.h"

namespace korvale {

namespace {

struct HostName {
    std::string system;
    std::string machine;
};

HostName hostName() {
    utsname name{};
    if (::uname(&name) != 0) {
        return {};
    }
    return {name.sysname, name.machine};
}

}  // namespace

HostEnvironment::System NativeHostEnvironment::system() const {
    return hostName().system == "Linux" ? System::Linux : System::Other;
}

HostEnvironment::Architecture NativeHostEnvironment::architecture() const {
    // The kernel's machine, not Korvale's build: a 32-bit Korvale on a 64-bit system still
    // finds the 64-bit game.
    const std::string machine = hostName().machine;
    if (machine == "x86_64" || machine == "amd64") {
        return Architecture::X86_64;
    }
    if (machine == "aarch64" || machine == "arm64") {
        return Architecture::Arm64;
    }
    if (machine == "i386" || machine == "i486" || machine == "i586" || machine == "i686") {
        return Architecture::X86;
    }
    return Architecture::Other;
}

std::string NativeHostEnvironment::homeFolder() const {
    // The game takes $HOME; the account's entry stands in only when it is not set.
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return {};
}

std::string NativeHostEnvironment::localAppData() const {
    return {};
}

}  // namespace korvale
