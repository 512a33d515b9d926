# Cross toolchain for the 64-bit Windows build: the tests on a machine that runs no 32-bit code
# (scripts/wine-env.sh).
set(HOLVEX_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
