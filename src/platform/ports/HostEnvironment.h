#pragma once

#include <string>

namespace korvale {

// What Play asks of the host to find the files the game really uses: one implementation per
// host, and tests give their own.
class HostEnvironment {
public:
    enum class System { Linux, Windows, Other };
    enum class Architecture { X86_64, Arm64, X86, Other };

    virtual ~HostEnvironment() = default;

    virtual System system() const = 0;
    // The machine's, which decides the native programs it runs, whatever Korvale was built for.
    virtual Architecture architecture() const = 0;
    // The user's home folder (POSIX), UTF-8; empty when the host has none.
    virtual std::string homeFolder() const = 0;
    // The user's local application data folder (Windows), UTF-8; empty when the host has none.
    virtual std::string localAppData() const = 0;
};

}  // namespace korvale
