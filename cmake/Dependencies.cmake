# Stops the configure when a dependency is missing, naming the Debian package that brings it
# (scripts/setup.sh installs every one).
function(project_require found what package)
    if(NOT ${found})
        message(FATAL_ERROR "${what} not found: install the Debian package ${package} "
                            "(bash scripts/setup.sh installs every dependency)")
    endif()
endfunction()

# nlohmann json is header-only; Debian installs it for the host. The Windows build uses the same
# headers through a folder of their own, so that no other host header reaches the cross compiler.
if(WIN32 AND CMAKE_CROSSCOMPILING)
    find_path(NLOHMANN_JSON_HEADER_DIR nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH)
    project_require(NLOHMANN_JSON_HEADER_DIR "nlohmann/json.hpp" nlohmann-json3-dev)
    set(json_include ${CMAKE_BINARY_DIR}/third_party/include)
    file(MAKE_DIRECTORY ${json_include})
    if(NOT EXISTS ${json_include}/nlohmann)
        file(CREATE_LINK ${NLOHMANN_JSON_HEADER_DIR}/nlohmann ${json_include}/nlohmann SYMBOLIC)
    endif()
    add_library(nlohmann_json INTERFACE)
    target_include_directories(nlohmann_json SYSTEM INTERFACE ${json_include})
    add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json)
else()
    find_package(nlohmann_json 3.11 QUIET)
    project_require(nlohmann_json_FOUND "nlohmann json 3.11" nlohmann-json3-dev)
endif()
