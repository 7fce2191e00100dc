# Precompiled headers, one set per kind of code, each compiled once per build
# and reused by every target of that kind: the standard library and the type
# information for platform-free code; with the Win32 headers for the Windows
# layers; with GoogleTest for the test programs (platform-free code's tests
# never see <windows.h>, whose functions would take the place of ours). A target whose flags differ
# from its set's still builds: the compiler then reads the headers itself.
set(QUILLORY_PCH_STD <algorithm> <any> <cstdint> <cstdio> <cstring> <functional> <map> <memory> <mutex>
    <string> <vector> ${PROJECT_SOURCE_DIR}/classlib/core/typinfo.h)
set(QUILLORY_PCH_WIN32 ${QUILLORY_PCH_STD} ${PROJECT_SOURCE_DIR}/classlib/gui/win32.h <commdlg.h>)
set(QUILLORY_PCH_TESTS_STD ${QUILLORY_PCH_STD} <gtest/gtest.h> <gmock/gmock.h>)
set(QUILLORY_PCH_TESTS ${QUILLORY_PCH_WIN32} <gtest/gtest.h> <gmock/gmock.h>)

set(pch_kinds std tests_std)
if(WIN32)
  list(APPEND pch_kinds win32 tests)
endif()
foreach(kind IN LISTS pch_kinds)
  string(TOUPPER ${kind} upper)
  add_library(pch_${kind} OBJECT ${PROJECT_SOURCE_DIR}/cmake/pch.cpp)
  target_precompile_headers(pch_${kind} PRIVATE ${QUILLORY_PCH_${upper}})
endforeach()
target_link_libraries(pch_tests_std PRIVATE GTest::gmock GTest::gtest)
if(WIN32)
  target_link_libraries(pch_tests PRIVATE GTest::gmock GTest::gtest)
  quillory_test_flags(pch_tests)
  quillory_test_flags(pch_tests_std)
endif()

# Gives the target the precompiled headers of its kind (std, win32, tests_std
# for the tests of platform-free code, tests).
function(quillory_use_pch target kind)
  if(TARGET pch_${kind} AND TARGET ${target})
    target_precompile_headers(${target} REUSE_FROM pch_${kind})
  endif()
endfunction()
