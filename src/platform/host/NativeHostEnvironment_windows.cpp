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
    std::wstring value(32768, L'\0');  // the longest value a variable has, and its end
    value.resize(GetEnvironmentVariableW(L"LOCALAPPDATA", value.data(), DWORD(value.size())));
    return Utf8Text(value);
}

}  // namespace korvale
