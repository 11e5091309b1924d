# Shared compile settings and the helpers that every area's CMakeLists uses.

add_library(korvex_options INTERFACE)
target_compile_options(korvex_options INTERFACE -Wall -Wextra)
target_compile_definitions(korvex_options INTERFACE
    QT_NO_FOREACH QT_NO_URL_CAST_FROM_STRING
    KORVEX_VERSION="${PROJECT_VERSION}")

# korvex_library(<area> SOURCES ... LINKS ...): the static library korvex_<area>.
function(korvex_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    add_library(korvex_${name} STATIC ${ARG_SOURCES})
    target_include_directories(korvex_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(korvex_${name} PUBLIC korvex_options ${ARG_LINKS})
endfunction()

# korvex_test(<name> SOURCES ... LINKS ... [GUI]): one GoogleTest binary registered with CTest.
# Every test binary runs with its own temporary HOME and XDG folders (tests/common).
function(korvex_test name)
    cmake_parse_arguments(ARG "GUI" "" "SOURCES;LINKS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    if(ARG_GUI)
        target_link_libraries(${name} PRIVATE korvex_testmain_gui)
    else()
        target_link_libraries(${name} PRIVATE korvex_testmain_core)
    endif()
    target_link_libraries(${name} PRIVATE ${ARG_LINKS} GTest::gtest GTest::gmock)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
