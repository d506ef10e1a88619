#include "platform/host/NativeShortcuts.h"

#include <system_error>
#include <utility>

#include "platform/files/FileError.h"

namespace korvale {

NativeShortcuts::NativeShortcuts(std::filesystem::path program, std::filesystem::path folder,
                                 std::string icon)
    : m_program(std::move(program)), m_folder(std::move(folder)), m_icon(std::move(icon)) {}

void NativeShortcuts::rename(std::string_view from, std::string_view to) const {
    if (from == to || !std::filesystem::exists(pathOf(from))) {
        return;
    }
    make(to);  // the new one first: a failure leaves the old one working
    remove(from);
}

void NativeShortcuts::remove(std::string_view name) const {
    const std::filesystem::path path = pathOf(name);
    std::error_code error;
    std::filesystem::remove(path, error);
    if (error) {
        throw FileError(pathText(path), error.message());
    }
}

std::string NativeShortcuts::pathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

}  // namespace korvale
