#pragma once

#include <optional>
#include <string>
#include <vector>

namespace korvale {

// What Play asks of the host to find the files the game really uses, and the game search to find
// where it is installed: one implementation per host, and tests give their own.
class HostEnvironment {
public:
    enum class System { Linux, Windows, Other };
    enum class Architecture { X86_64, Arm64, X86, Other };
    enum class RegistryRoot { CurrentUser, LocalMachine };
    // 64-bit Windows keeps a second registry for 32-bit programs (WOW6432Node), where 32-bit
    // installers write.
    enum class RegistryView { Bits64, Bits32 };

    virtual ~HostEnvironment() = default;

    virtual System system() const = 0;
    // The machine's, which decides the native programs it runs, whatever Korvale was built for.
    virtual Architecture architecture() const = 0;
    // The user's home folder (POSIX), UTF-8; empty when the host has none.
    virtual std::string homeFolder() const = 0;
    // The user's local application data folder (Windows), UTF-8; empty when the host has none.
    virtual std::string localAppData() const = 0;
    // An environment variable's value, UTF-8; empty when it is not set.
    virtual std::string variable(const std::string& name) const = 0;
    // A string value of the registry (Windows), UTF-8; none when the key or the value is missing.
    virtual std::optional<std::string> registryString(RegistryRoot root, RegistryView view,
                                                      const std::string& key,
                                                      const std::string& value) const = 0;
    // The names of a registry key's subkeys (Windows); none when the key is missing.
    virtual std::vector<std::string> registrySubkeys(RegistryRoot root, RegistryView view,
                                                     const std::string& key) const = 0;
};

}  // namespace korvale
