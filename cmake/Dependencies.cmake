# nlohmann json is header-only; Debian installs it for the host. The Windows build uses the same
# headers through a folder of their own, so that no other host header reaches the cross compiler.
if(WIN32 AND CMAKE_CROSSCOMPILING)
    find_path(NLOHMANN_JSON_HEADER_DIR nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
              REQUIRED)
    set(json_include ${CMAKE_BINARY_DIR}/third_party/include)
    file(MAKE_DIRECTORY ${json_include})
    if(NOT EXISTS ${json_include}/nlohmann)
        file(CREATE_LINK ${NLOHMANN_JSON_HEADER_DIR}/nlohmann ${json_include}/nlohmann SYMBOLIC)
    endif()
    add_library(nlohmann_json INTERFACE)
    target_include_directories(nlohmann_json SYSTEM INTERFACE ${json_include})
    add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json)
else()
    find_package(nlohmann_json 3.11 REQUIRED)
endif()
