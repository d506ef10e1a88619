# The program's folder, as the release archives hold it (scripts/windows-release and
# scripts/linux-release install it and add Qt's licence texts): korvale, the players' README with
# the project's version, and the licence.
if(WIN32)
    set(KORVALE_PLAYERS_README README-players-windows.txt)
else()
    set(KORVALE_PLAYERS_README README-players.txt)
endif()
configure_file(${PROJECT_SOURCE_DIR}/docs/${KORVALE_PLAYERS_README}
               ${KORVALE_GENERATED}/README-players.txt @ONLY)
install(FILES ${KORVALE_GENERATED}/README-players.txt DESTINATION . COMPONENT korvale)
install(FILES "${PROJECT_SOURCE_DIR}/LICENSE" DESTINATION . RENAME LICENSE.txt COMPONENT korvale)

# The Linux release runs on glibc 2.34 and later (scripts/linux-release sets this).
option(KORVALE_GLIBC_2_34 "Keep korvale to glibc 2.34's symbols" OFF)
if(KORVALE_GLIBC_2_34)
    target_sources(korvale PRIVATE ${CMAKE_CURRENT_LIST_DIR}/glibc_2_34.cpp)
    target_link_options(korvale PRIVATE -Wl,--wrap=hypot -Wl,--wrap=hypotf -Wl,--wrap=arc4random)
endif()
