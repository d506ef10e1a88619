# Cross-build for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, which
# std::thread and GoogleTest need). Programs are linked statically against libgcc, libstdc++ and
# winpthread, so the .exe files run under Wine or on Windows without any MinGW DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KORVALE_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KORVALE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORVALE_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KORVALE_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KORVALE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests and test discovery run the .exe files through Wine on a Linux host.
if(CMAKE_HOST_UNIX AND NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
    find_program(KORVALE_WINE wine)
    if(KORVALE_WINE)
        set(CMAKE_CROSSCOMPILING_EMULATOR ${KORVALE_WINE})
    endif()
endif()
