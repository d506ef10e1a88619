# The one version: project(VERSION) reaches the program, the About box, the Windows version
# resource and manifest, the archives' names and the players' READMEs through generated files.
set(KORVALE_VERSION_PATCH 0)
if(NOT "${PROJECT_VERSION_PATCH}" STREQUAL "")
    set(KORVALE_VERSION_PATCH ${PROJECT_VERSION_PATCH})
endif()
set(KORVALE_GENERATED ${PROJECT_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/korvale_version.h.in ${KORVALE_GENERATED}/korvale_version.h @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/korvale.manifest.in ${KORVALE_GENERATED}/korvale.manifest @ONLY)
include_directories(${KORVALE_GENERATED})
