# The program is built from two libraries: holvex_portable (no <windows.h>, builds in both
# trees) and, in the Windows tree, holvex_win (forms, WinInet, shell). Each folder adds its
# files with the two functions below; tests are added with holvex_test().

add_library(holvex_portable STATIC ${CMAKE_SOURCE_DIR}/src/platform/text.cpp)
target_include_directories(holvex_portable PUBLIC ${CMAKE_SOURCE_DIR}/src)
if(WIN32)
  target_link_libraries(holvex_portable PUBLIC ws2_32)
  add_library(holvex_win STATIC ${CMAKE_SOURCE_DIR}/src/toolkit/window.cpp)
  target_link_libraries(holvex_win PUBLIC holvex_portable wininet comctl32 shell32 shlwapi
                        winmm version advapi32 comdlg32 gdi32 user32 kernel32 ole32 mpr psapi)
  # Icon, version, pictures and clips: linked into the program and the GUI tests.
  # The version resource and the tests take the version from project(VERSION ...).
  configure_file(${CMAKE_SOURCE_DIR}/res/holvex_version.h.in ${CMAKE_BINARY_DIR}/res/holvex_version.h @ONLY)
  # Windows refuses to start a program whose manifest is not well-formed or whose version is not
  # four numbers ("side-by-side configuration"); Wine starts it all the same.
  if(NOT PROJECT_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$")
    message(FATAL_ERROR "project(VERSION) must have four numbers for the version resource and the manifest")
  endif()
  configure_file(${CMAKE_SOURCE_DIR}/res/holvex.manifest.in ${CMAKE_BINARY_DIR}/res/holvex.manifest @ONLY)
  find_program(HOLVEX_PYTHON3 NAMES python3 REQUIRED)
  execute_process(COMMAND ${HOLVEX_PYTHON3} -c "import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])"
                          ${CMAKE_BINARY_DIR}/res/holvex.manifest
                  RESULT_VARIABLE manifest_status ERROR_VARIABLE manifest_error)
  if(NOT manifest_status EQUAL 0)
    message(FATAL_ERROR "res/holvex.manifest.in is not well-formed XML: ${manifest_error}")
  endif()
  add_library(holvex_res OBJECT ${CMAKE_SOURCE_DIR}/res/holvex.rc)
  set_property(SOURCE ${CMAKE_SOURCE_DIR}/res/holvex.rc APPEND PROPERTY OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/res/holvex.manifest)
  target_include_directories(holvex_res PRIVATE ${CMAKE_SOURCE_DIR}/res ${CMAKE_BINARY_DIR}/res)
endif()

function(holvex_portable_sources)
  target_sources(holvex_portable PRIVATE ${ARGN})
endfunction()

function(holvex_win32_sources)
  if(WIN32)
    target_sources(holvex_win PRIVATE ${ARGN})
  endif()
endfunction()

# holvex_test(NAME n SOURCES a.cpp ... [WIN32_ONLY] [NATIVE_ONLY] [RESOURCES] [DESKTOP] [LIBS ...])
# One executable per test group; CTest runs it (through Wine in the Windows tree). DESKTOP
# marks tests that drive windows: like a user at one desktop they take turns, since windows
# of programs running side by side fight over focus, capture and the foreground.
function(holvex_test)
  cmake_parse_arguments(T "WIN32_ONLY;NATIVE_ONLY;RESOURCES;DESKTOP" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(T_WIN32_ONLY AND NOT WIN32)
    return()
  endif()
  if(T_NATIVE_ONLY AND WIN32)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${T_NAME} PRIVATE holvex_testsupport GTest::gtest GTest::gtest_main ${T_LIBS})
  if(WIN32)
    target_link_libraries(${T_NAME} PRIVATE holvex_win)
    if(T_RESOURCES)
      target_sources(${T_NAME} PRIVATE $<TARGET_OBJECTS:holvex_res>)
    endif()
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_DESKTOP AND WIN32)
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK desktop)
  endif()
endfunction()
