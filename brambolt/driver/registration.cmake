# Driver registration and loading, and the altitude and instance-name rule. Included from
# brambolt/folders/CMakeLists.txt, so these targets stay apart from the driver control channel.
set(registration_dir ${CMAKE_CURRENT_LIST_DIR})

add_library(brambolt_altitude_rule STATIC ${registration_dir}/altitude_rule.cpp)
target_include_directories(brambolt_altitude_rule PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(brambolt_altitude_rule PUBLIC project_options)

# The Win32 parts hold their handles in the framework's owning types and show the framework's
# application message box.
if(WIN32 AND TARGET brambolt_framework)
    add_library(brambolt_driver_registration STATIC
        ${registration_dir}/driver_registration.cpp
        ${registration_dir}/driver_registration_message.cpp)
    target_link_libraries(brambolt_driver_registration
        PUBLIC brambolt_altitude_rule brambolt_framework advapi32 user32)

    # The program's own bindings: the user's names, the control channel, the port in use and the
    # program directory. The application links this library; it in turn needs the application's
    # program directory, which the linker resolves across the two static libraries.
    if(TARGET brambolt_driver AND EXISTS ${CMAKE_SOURCE_DIR}/brambolt/app/program_directory.h)
        add_library(brambolt_driver_registration_program STATIC
            ${registration_dir}/driver_registration_program.cpp)
        target_link_libraries(brambolt_driver_registration_program
            PUBLIC brambolt_driver_registration brambolt_driver brambolt_program_directory)
    endif()
endif()

if(NOT BUILD_FUZZERS)
    project_add_gtest(driver_altitude_rule_tests
        SOURCES ${registration_dir}/tests/altitude_rule_tests.cpp
        LIBS brambolt_altitude_rule)
    if(TARGET brambolt_driver_registration)
        add_library(brambolt_registry_test_support STATIC
            ${registration_dir}/tests/registry_test_support.cpp)
        target_include_directories(brambolt_registry_test_support
            PUBLIC ${registration_dir}/tests ${CMAKE_SOURCE_DIR})
        target_link_libraries(brambolt_registry_test_support PUBLIC brambolt_handles advapi32)
        project_add_gtest(driver_registration_tests
            SOURCES
                ${registration_dir}/tests/registration_values_tests.cpp
                ${registration_dir}/tests/registry_tree_tests.cpp
                ${registration_dir}/tests/install_and_load_tests.cpp
            LIBS brambolt_driver_registration brambolt_registry_test_support)
        # A deletion that loops would never end; the time limit turns that into a failure.
        set_tests_properties(driver_registration_tests PROPERTIES TIMEOUT 300)
    endif()
endif()
