// The measurements bench/compare makes outside Google Benchmark:
//   korvale_profile_tool generate <bytes> <file>   writes a profile of at least that size
//   korvale_profile_tool generate-utf16le <bytes> <file>   the same in UTF-16LE
//   korvale_profile_tool rewrite <input> <output>  rewrites one profile as Play does: its
//                                                  encoding detected, then Korvale's rewrite
//   korvale_profile_tool detect <file>             prints the encoding Play finds in a profile
//   korvale_profile_tool play <folder> [noflush]   one Play over <folder>/program/UTDir.ini and
//                                                  <folder>/game/System/User.ini, starting no
//                                                  game; noflush: without the flushes
// The identity is "Bench Player", "s3cret"; KORVALE_BENCH_NAME gives another name (Latin-1).
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>

#include "BenchPlay.h"
#include "ProfileGenerator.h"
#include "platform/files/FileSystem.h"
#include "platform/host/NativeFileOps.h"
#include "play/ProfileRewrite.h"

namespace {

int Usage() {
    std::cerr << "usage: korvale_profile_tool generate <bytes> <file>\n"
                 "       korvale_profile_tool generate-utf16le <bytes> <file>\n"
                 "       korvale_profile_tool detect <file>\n"
                 "       korvale_profile_tool rewrite <input> <output>\n"
                 "       korvale_profile_tool play <folder> [noflush]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        return Usage();
    }
    const std::string_view command = argv[1];
    try {
        korvale::NativeFileOps ops;
        const korvale::FileSystem files(ops, ".");
        // Play's identity for the benchmarks; a name with "é" makes the detection read the
        // whole of a profile without a byte-order mark.
        const char* name = std::getenv("KORVALE_BENCH_NAME");
        const std::string playerName = name != nullptr ? name : "Bench Player";
        const std::string password = "s3cret";
        const auto detect = [&](const korvale::File& profile) {
            return korvale::detectProfileEncoding(profile, playerName, password);
        };
        if (command == "play" &&
            (argc == 3 || (argc == 4 && std::string_view(argv[3]) == "noflush"))) {
            korvale::bench::NoFlushFileOps noFlush(ops);
            korvale::bench::NoLauncher launcher;
            const std::string message = korvale::bench::playOnce(
                argv[2], argc == 4 ? static_cast<korvale::FileOps&>(noFlush) : ops, launcher);
            if (!message.empty()) {
                std::cerr << "Play said: " << message << '\n';
                return 1;
            }
            return 0;
        }
        if (command == "detect" && argc == 3) {
            static constexpr const char* kNames[] = {"Latin-1", "UTF-8", "UTF-8 with BOM",
                                                     "UTF-16LE"};
            std::cout << kNames[static_cast<int>(detect(files.GetFile(argv[2])))] << '\n';
            return 0;
        }
        if (argc != 4) {
            return Usage();
        }
        if (command == "generate") {
            korvale::bench::WriteProfile(argv[3], std::stoull(argv[2]));
            return 0;
        }
        if (command == "generate-utf16le") {
            korvale::bench::WriteUtf16LeProfile(argv[3], std::stoull(argv[2]));
            return 0;
        }
        if (command == "rewrite") {
            const korvale::File input = files.GetFile(argv[2]);
            const korvale::ProfileEncoding encoding = detect(input);
            korvale::TextStream in = input.OpenAsTextStream(korvale::IOMode::ForReading);
            korvale::TextStream out = files.CreateTextFile(argv[3]);
            korvale::RewriteProfile(in, out, encoding, playerName, password);
            in.Close();
            out.Close();
            return 0;
        }
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return Usage();
}
