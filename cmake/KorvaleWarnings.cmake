# Warnings are errors for Korvale's own targets only; third-party headers come in as SYSTEM.
function(korvale_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /WX /permissive- /utf-8)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                                  -Wsign-conversion -Wnon-virtual-dtor -Werror)
    endif()
endfunction()
