#include <windows.h>

#include <iterator>
#include <memory>
#include <string>
#include <type_traits>

#include "platform/host/WindowsText.h"
#include "platform/host/NativeHostEnvironment.h"

namespace korvale {

namespace {

struct KeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using RegistryKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

// The key for reading in the view asked for; none when it is missing or may not be read.
RegistryKey openKey(HostEnvironment::RegistryRoot root, HostEnvironment::RegistryView view,
                    const std::string& key) {
    const HKEY top =
        root == HostEnvironment::RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    const REGSAM bits =
        view == HostEnvironment::RegistryView::Bits64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(top, WidePath(key).c_str(), 0, KEY_READ | bits, &opened) != ERROR_SUCCESS) {
        return nullptr;
    }
    return RegistryKey(opened);
}

}  // namespace

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
    return variable("LOCALAPPDATA");
}

std::string NativeHostEnvironment::variable(const std::string& name) const {
    std::wstring value(32768, L'\0');  // the longest value a variable has, and its end
    value.resize(
        GetEnvironmentVariableW(WidePath(name).c_str(), value.data(), DWORD(value.size())));
    return Utf8Text(value);
}

std::optional<std::string> NativeHostEnvironment::registryString(RegistryRoot root,
                                                                 RegistryView view,
                                                                 const std::string& key,
                                                                 const std::string& value) const {
    const RegistryKey opened = openKey(root, view, key);
    const std::wstring name = WidePath(value);
    DWORD bytes = 0;
    if (!opened || RegGetValueW(opened.get(), nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr,
                                nullptr, &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(opened.get(), nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(),
                     &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    text.resize(bytes / sizeof(wchar_t));
    // The system ends the string in the bytes it counts.
    while (!text.empty() && text.back() == L'\0') {
        text.pop_back();
    }
    return Utf8Text(text);
}

std::vector<std::string> NativeHostEnvironment::registrySubkeys(RegistryRoot root,
                                                                RegistryView view,
                                                                const std::string& key) const {
    std::vector<std::string> names;
    const RegistryKey opened = openKey(root, view, key);
    wchar_t name[256];  // a key's name is at most 255 characters
    for (DWORD index = 0; opened; ++index) {
        DWORD length = DWORD(std::size(name));
        if (RegEnumKeyExW(opened.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.push_back(Utf8Text({name, length}));
    }
    return names;
}

}  // namespace korvale
