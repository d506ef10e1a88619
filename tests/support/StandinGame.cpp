// Stands in for UnrealTournament.exe in tests. Appends to "started.txt" beside itself the argv[0]
// it was given and its working folder, one per line. When "hold.txt" lies beside it, it then waits
// (at most 30 s) for "release.txt" and appends "done", so a test can tell whether its starter
// waited for it.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

fs::path OwnPath(const char* argv0) {
#ifdef _WIN32
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
    if (length > 0) {
        return fs::path(std::wstring(buffer, length));
    }
#else
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        return self;
    }
#endif
    return fs::absolute(argv0);
}

void AppendLine(const fs::path& file, const std::string& line) {
    std::ofstream out(file, std::ios::binary | std::ios::app);
    out << line << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path folder = OwnPath(argc > 0 ? argv[0] : "").parent_path();
    const fs::path record = folder / "started.txt";
    AppendLine(record, argc > 0 ? argv[0] : "");
    AppendLine(record, fs::current_path().string());
    if (fs::exists(folder / "hold.txt")) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!fs::exists(folder / "release.txt") && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        AppendLine(record, "done");
    }
    return 0;
}
