// Preloaded into a real Korvale: each rename onto a file whose path ends with $KORVALE_SLOW_SWAP
// waits 3 seconds first, so that two Korvales' swaps of one file surely overlap.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

extern "C" int rename(const char* from, const char* to) {
    using Rename = int (*)(const char*, const char*);
    static const auto real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
    const char* slowed = std::getenv("KORVALE_SLOW_SWAP");
    if (slowed != nullptr && std::string_view(to).ends_with(slowed)) {
        ::sleep(3);
    }
    return real(from, to);
}
