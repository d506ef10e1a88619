#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/host/NativeHostEnvironment.h"

namespace korvale {

HostEnvironment::System NativeHostEnvironment::system() const {
    utsname name{};
    return ::uname(&name) == 0 && std::string(name.sysname) == "Linux" ? System::Linux
                                                                        : System::Other;
}

HostEnvironment::Architecture NativeHostEnvironment::architecture() const {
    // The kernel's machine, not Korvale's build: a 32-bit Korvale on a 64-bit system still
    // finds the 64-bit game.
    utsname name{};
    const std::string machine = ::uname(&name) == 0 ? name.machine : "";
    if (machine == "x86_64" || machine == "amd64") {
        return Architecture::X86_64;
    }
    if (machine == "aarch64" || machine == "arm64") {
        return Architecture::Arm64;
    }
    // i386 to i686
    const bool x86 = machine.size() == 4 && machine[0] == 'i' && machine.ends_with("86") &&
                     machine[1] >= '3' && machine[1] <= '6';
    return x86 ? Architecture::X86 : Architecture::Other;
}

std::string NativeHostEnvironment::homeFolder() const {
    // The game takes $HOME; the account's entry stands in only when it is not set. Nothing else
    // in Korvale reads the account database, so its shared entry is not overwritten meanwhile.
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

std::string NativeHostEnvironment::localAppData() const {
    return {};
}

std::string NativeHostEnvironment::variable(const std::string& name) const {
    const char* value = std::getenv(name.c_str());
    return value != nullptr ? value : "";
}

// No registry here.
std::optional<std::string> NativeHostEnvironment::registryString(RegistryRoot, RegistryView,
                                                                 const std::string&,
                                                                 const std::string&) const {
    return std::nullopt;
}

std::vector<std::string> NativeHostEnvironment::registrySubkeys(RegistryRoot, RegistryView,
                                                                const std::string&) const {
    return {};
}

}  // namespace korvale
