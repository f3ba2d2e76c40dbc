# Release packaging. Windows: the setup helper and the installer (NSIS), and the installer's tests
# under Wine. Linux: the Debian package of Glyphsnap (CPack) and its tests. scripts/release.sh
# drives both into dist/.
if(BUILD_FUZZERS)
    return()
endif()

add_subdirectory(packaging/windows/setup_helper)
if(WIN32)
    add_subdirectory(packaging/windows)
else()
    add_subdirectory(packaging/linux)
endif()
add_subdirectory(packaging/tests)
