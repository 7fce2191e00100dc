# GoogleTest from Debian's source, built with the project's compiler; each
# test executable runs once under Wine (tools/wine-test.sh). Tests are named
# after the build's architecture ("x86_64:classlib_core_tests"), so one
# ctest run can hold the suites of both builds.
enable_testing()
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(QUILLORY_ARCH x86_64)
else()
  set(QUILLORY_ARCH i686)
endif()

# Test programs' own sources are optimised less: they compile much faster,
# and the code they test is built as it ships.
function(quillory_test_flags target)
  if(CMAKE_BUILD_TYPE STREQUAL "Release")
    target_compile_options(${target} PRIVATE -O1)
  endif()
endfunction()

# Adds a test that runs a Windows program of this build under Wine.
function(quillory_wine_test name target)
  add_test(NAME ${QUILLORY_ARCH}:${name}
           COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-test.sh ${QUILLORY_ARCH} $<TARGET_FILE:${target}>)
  # Both builds' programs share the Wine prefix and its temporary folder:
  # the two builds of one test program take turns.
  set_property(TEST ${QUILLORY_ARCH}:${name} APPEND PROPERTY RESOURCE_LOCK ${name})
endfunction()
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL)

# PLATFORM_FREE: the tests of code free of <windows.h>, built without it.
function(quillory_add_test name)
  cmake_parse_arguments(T "PLATFORM_FREE" "" "SOURCES;LIBS" ${ARGN})
  if(NOT T_SOURCES)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  quillory_test_flags(${name})
  if(T_PLATFORM_FREE)
    quillory_use_pch(${name} tests_std)
  else()
    quillory_use_pch(${name} tests)
  endif()
  if(WIN32)
    quillory_wine_test(${name} ${name})
  else()
    # Each test program writes in a folder of its own, apart from bin/.
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/test-output/${name})
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/test-output/${name})
  endif()
endfunction()

# A test program with windows: the visual layer is started around the
# tests. Such programs share the one desktop (mouse, focus), so they run one
# at a time.
function(quillory_add_gui_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT T_SOURCES)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} classlib_gui_testing)
  quillory_test_flags(${name})
  quillory_use_pch(${name} tests)
  quillory_wine_test(${name} ${name})
  set_property(TEST ${QUILLORY_ARCH}:${name} APPEND PROPERTY RESOURCE_LOCK desktop)
endfunction()
