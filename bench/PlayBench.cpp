// A Play of the real-size profile and of a 2.5 MB one in each encoding, flushed, without the
// game's start, each beside the floor of any durable replace of the same file on the same disk
// (read it, write it beside, fdatasync, rename), and the Play's peak memory.
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "BenchFiles.h"
#include "FixedPick.h"
#include "platform/files/FileSystem.h"
#include "platform/host/NativeFileOps.h"
#include "platform/host/NativeHostEnvironment.h"
#include "play/PlayCommand.h"
#include "play/ProfileEncoding.h"

namespace {

// The heap bytes in use, and the most there were since the peak was last set back.
std::size_t g_inUse = 0;
std::size_t g_peak = 0;

}  // namespace

// Every new and delete of the program counts, so the memory is given by malloc and freed by free.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    void* memory = std::malloc(size > 0 ? size : 1);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    g_inUse += malloc_usable_size(memory);
    g_peak = std::max(g_peak, g_inUse);
    return memory;
}
void operator delete(void* memory) noexcept {
    g_inUse -= malloc_usable_size(memory);
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    operator delete(memory);
}

namespace korvale {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLarge = 2500 * 1000;
constexpr std::string_view kName = "Bench Pl\xE4yer";  // Latin-1: UTF-8 profiles are told apart

// The real-size profile, or one of at least `bytes` made of it, in `encoding`.
std::string Profile(std::size_t bytes, ProfileEncoding encoding) {
    const bool utf8 = encoding == ProfileEncoding::Utf8 || encoding == ProfileEncoding::Utf8Bom;
    const std::string real = RealisticProfile(utf8 ? "K=caf\xC3\xA9" : "K=caf\xE9");
    std::string text = real;
    // UTF-16LE doubles the size.
    while (text.size() * (encoding == ProfileEncoding::Utf16Le ? 2 : 1) < bytes) {
        text += real;
    }
    if (encoding == ProfileEncoding::Utf16Le) {
        text = latin1ToProfile(text, encoding) + std::string("\x22\x6F\x0D\x00\x0A\x00", 6);  // U+6F22
    }
    return std::string(byteOrderMark(encoding)) + text;
}

class SilentUi final : public UiServices {
public:
    void showMessage(std::string_view text, std::string_view detail) override {
        m_last = std::string(text) + " " + std::string(detail);
    }
    bool processEvents() override { return true; }
    std::string m_last;
};

class NoLauncher final : public ProgramLauncher {
public:
    void start(const std::string&) override {}
    bool isRunning(const std::string&) override { return false; }
};

void Floor(benchmark::State& state, const std::string& profile) {
    const BenchFolder folder;
    const std::string path = (folder.Path() / "User.ini").string();
    const std::string beside = path + ".new";
    WriteBytes(path, profile);
    std::string bytes(profile.size(), '\0');
    for (auto _ : state) {
        const int in = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        const bool read = ::read(in, bytes.data(), bytes.size()) == ssize_t(bytes.size());
        ::close(in);
        const int out = ::open(beside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        const bool written = ::write(out, bytes.data(), bytes.size()) == ssize_t(bytes.size()) &&
                             ::fdatasync(out) == 0 && ::close(out) == 0;
        if (!read || !written || ::rename(beside.c_str(), path.c_str()) != 0) {
            state.SkipWithError("the floor's file operations failed");
            break;
        }
    }
}

void Play(benchmark::State& state, const std::string& profile) {
    const BenchFolder folder;
    fs::create_directories(folder.Path() / "program");
    fs::create_directories(folder.Path() / "game" / "System");
    WriteBytes(folder.Path() / "program" / "UTDir.ini", (folder.Path() / "game").string());
    WriteBytes(folder.Path() / "game" / "System" / "User.ini", profile);
    NativeFileOps ops;
    const FileSystem files(ops, (folder.Path() / "program").string());
    SilentUi ui;
    NoLauncher launcher;
    GameFolder setting(files);
    const NativeHostEnvironment host;
    PlayCommand play(files, setting, ui, launcher, host);
    const test::FixedPick pick{0, std::string(kName), "s3cret"};
    std::size_t peak = 0;
    for (auto _ : state) {
        const std::size_t before = g_inUse;
        g_peak = before;
        play.PlayUT(pick);
        peak = std::max(peak, g_peak - before);
        if (!ui.m_last.empty()) {
            state.SkipWithError(("Play said: " + ui.m_last).c_str());
            break;
        }
    }
    state.counters["peak_MiB"] = double(peak) / (1 << 20);
    state.counters["profile_MiB"] = double(profile.size()) / (1 << 20);
}

}  // namespace
}  // namespace korvale

int main(int argc, char** argv) {
    using namespace korvale;
    const struct {
        const char* name;
        std::size_t bytes;
        ProfileEncoding encoding;
    } profiles[] = {
        {"real_size", 0, ProfileEncoding::Latin1},
        {"2.5MB/Latin1", kLarge, ProfileEncoding::Latin1},
        {"2.5MB/UTF8", kLarge, ProfileEncoding::Utf8},
        {"2.5MB/UTF8_BOM", kLarge, ProfileEncoding::Utf8Bom},
        {"2.5MB/UTF16LE", kLarge, ProfileEncoding::Utf16Le},
    };
    // Each Play right after its floor: whatever load the machine has, both see the same.
    for (const auto& p : profiles) {
        const std::string profile = Profile(p.bytes, p.encoding);
        const auto unit = p.bytes > 0 ? benchmark::kMillisecond : benchmark::kMicrosecond;
        benchmark::RegisterBenchmark((std::string("Floor/") + p.name).c_str(), Floor, profile)
            ->Unit(unit);
        benchmark::RegisterBenchmark((std::string("Play/") + p.name).c_str(), Play, profile)
            ->Unit(unit);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
