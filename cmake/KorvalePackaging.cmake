# The portable archive for Linux: the folder scripts/run installs into (out/Korvale), packed.
if(WIN32)
    # The Windows folder (scripts/windows-release zips it) also carries the licence: Qt is linked in.
    install(FILES "${PROJECT_SOURCE_DIR}/docs/README-players-windows.txt" DESTINATION .
            RENAME README-players.txt COMPONENT korvale)
    install(FILES "${PROJECT_SOURCE_DIR}/LICENSE" DESTINATION . RENAME LICENSE.txt COMPONENT korvale)
else()
    install(FILES "${PROJECT_SOURCE_DIR}/docs/README-players.txt" DESTINATION . COMPONENT korvale)
endif()

set(CPACK_GENERATOR TGZ)
set(CPACK_PACKAGE_NAME Korvale)
set(CPACK_PACKAGE_VENDOR Korvale)
set(CPACK_PACKAGE_FILE_NAME "Korvale-${PROJECT_VERSION}-Linux-${CMAKE_SYSTEM_PROCESSOR}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_COMPONENTS_ALL korvale)
include(CPack)
