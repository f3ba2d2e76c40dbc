# Reproducible builds: the same commit built in two folders gives byte-identical programs. Paths
# of the source and build folders are mapped to fixed names (assertion texts and debug info carry
# them), and the Windows linker writes no time stamp into the PE headers.
add_compile_options(
    "-ffile-prefix-map=${CMAKE_SOURCE_DIR}=."
    "-ffile-prefix-map=${CMAKE_BINARY_DIR}=build")
if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_link_options(-Wl,--no-insert-timestamp)
endif()
