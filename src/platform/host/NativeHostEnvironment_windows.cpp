#include <windows.h>

#include <string>

#include "platform/host/WindowsText.h"
#include "platform/host/NativeHostEnvironment.h"

namespace korvale {

HostEnvironment::System NativeHostEnvironment::system() const {
    return System::Windows;
}

HostEnvironment::Architecture NativeHostEnvironment::architecture() const {
    SYSTEM_INFO info{};
    GetNativeSystemInfo(&info);
    switch (info.wProcessorArchitecture) {
        case PROCESSOR_ARCHITECTURE_AMD64:
            return Architecture::X86_64;
        case PROCESSOR_ARCHITECTURE_ARM64:
            return Architecture::Arm64;
        case PROCESSOR_ARCHITECTURE_INTEL:
            return Architecture::X86;
        default:
            return Architecture::Other;
    }
}

std::string NativeHostEnvironment::homeFolder() const {
    return {};
}

std::string NativeHostEnvironment::localAppData() const {
    const DWORD needed = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
    if (needed == 0) {
        return {};
    }
    std::wstring value(needed, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", value.data(), needed);
    if (length == 0 || length >= needed) {
        return {};
    }
    value.resize(length);
    return Utf8Text(value);
}

}  // namespace korvale
