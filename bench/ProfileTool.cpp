// The measurements bench/compare makes outside Google Benchmark:
//   korvale_profile_tool generate <bytes> <file>   writes a profile of at least that size
//   korvale_profile_tool rewrite <input> <output>  rewrites one profile with Korvale's rewrite
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>

#include "ProfileGenerator.h"
#include "platform/files/FileSystem.h"
#include "platform/host/NativeFileOps.h"
#include "play/ProfileRewrite.h"

namespace {

int Usage() {
    std::cerr << "usage: korvale_profile_tool generate <bytes> <file>\n"
                 "       korvale_profile_tool rewrite <input> <output>\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        return Usage();
    }
    const std::string_view command = argv[1];
    try {
        if (command == "generate") {
            korvale::bench::WriteProfile(argv[3], std::stoull(argv[2]));
            return 0;
        }
        if (command == "rewrite") {
            korvale::NativeFileOps ops;
            const korvale::FileSystem files(ops, ".");
            korvale::TextStream in =
                files.GetFile(argv[2]).OpenAsTextStream(korvale::IOMode::ForReading);
            korvale::TextStream out = files.CreateTextFile(argv[3]);
            korvale::RewriteProfile(in, out, korvale::ProfileEncoding::Latin1, "Bench Player",
                                    "s3cret");
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
