// Linked into the Linux release only: keeps korvale to glibc 2.34, although it is built against
// 2.36. Qt calls hypot and hypotf, which glibc 2.35 gave new symbol versions (same results), and
// arc4random, new in 2.36; the linker sends those calls here (--wrap).
#include <cerrno>
#include <cstddef>
#include <cstdint>

#include <sys/random.h>

__asm__(".symver glibc_hypot,hypot@GLIBC_2.2.5");
__asm__(".symver glibc_hypotf,hypotf@GLIBC_2.2.5");

extern "C" {
double glibc_hypot(double x, double y);
float glibc_hypotf(float x, float y);
double __wrap_hypot(double x, double y);
float __wrap_hypotf(float x, float y);
std::uint32_t __wrap_arc4random();

double __wrap_hypot(double x, double y) {
    return glibc_hypot(x, y);
}

float __wrap_hypotf(float x, float y) {
    return glibc_hypotf(x, y);
}

// As arc4random, it never fails: the kernel's generator, retried when a signal interrupts it.
std::uint32_t __wrap_arc4random() {
    std::uint32_t value = 0;
    auto* bytes = reinterpret_cast<unsigned char*>(&value);
    std::size_t filled = 0;
    while (filled < sizeof value) {
        const ssize_t got = getrandom(bytes + filled, sizeof value - filled, 0);
        if (got > 0) {
            filled += static_cast<std::size_t>(got);
        } else if (got < 0 && errno != EINTR) {
            __builtin_trap();
        }
    }
    return value;
}
}
