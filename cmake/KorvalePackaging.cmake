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
