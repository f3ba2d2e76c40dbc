# The one version of both programs, taken from project(): it reaches the version resources of
# Brambolt.exe and Glyphsnap.exe through a generated header, the installer and the Linux package.
set(VORLIN_VERSION ${PROJECT_VERSION})
set(VORLIN_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/vorlin_version.h.in ${VORLIN_GENERATED_DIR}/vorlin_version.h
               @ONLY)

if(WIN32)
    enable_language(RC)
    # Every resource script finds the version header, whichever folder it lives in.
    string(APPEND CMAKE_RC_FLAGS " -I${VORLIN_GENERATED_DIR}")
endif()
