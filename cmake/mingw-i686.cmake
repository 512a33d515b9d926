# Cross toolchain for the 32-bit Windows build, the program users get.
set(HOLVEX_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
