# Compiler settings shared by every target of the project.
add_library(project_options INTERFACE)
target_compile_options(project_options INTERFACE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion>)

if(WIN32)
    # Unicode Win32 APIs everywhere; Windows 7 is the oldest system the programs serve.
    target_compile_definitions(project_options INTERFACE
        UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
    # Static runtime: the executables carry no mingw DLLs and run as they are.
    target_link_options(project_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()

if(BUILD_SANITIZED)
    # The unit tests under both sanitizers; any finding ends the test.
    target_compile_options(project_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(project_options INTERFACE -fsanitize=address,undefined)
endif()

if(BUILD_FUZZERS)
    target_compile_options(project_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer
        -fsanitize=fuzzer-no-link)
    target_link_options(project_options INTERFACE -fsanitize=address,undefined)
endif()
