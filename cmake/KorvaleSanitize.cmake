# Instrumented builds, each configured in a build folder of its own (scripts/check-sanitized):
#   KORVALE_SANITIZE  every target and test built with AddressSanitizer and UBSan; the first report
#                     ends the program, so a test that trips one fails.
#   KORVALE_FUZZ      the libFuzzer targets of tests/fuzz (clang only), in place of the tests; the
#                     code under test is instrumented for coverage and built with both sanitizers.
option(KORVALE_SANITIZE "Build everything with AddressSanitizer and UBSan" OFF)
option(KORVALE_FUZZ "Build the libFuzzer targets instead of the tests (clang)" OFF)

if(KORVALE_SANITIZE OR KORVALE_FUZZ)
    if(MSVC)
        message(FATAL_ERROR "KORVALE_SANITIZE and KORVALE_FUZZ need GCC or Clang")
    endif()
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer -g)
    add_link_options(-fsanitize=address,undefined)
endif()

if(KORVALE_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "KORVALE_FUZZ needs clang++ (-DCMAKE_CXX_COMPILER=clang++)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
