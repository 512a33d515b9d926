# The release archive holvex-<version>-win32.zip, made by every build of the Windows tree
# (target holvex_zip): one folder of the archive's name holding the stripped holvex.exe, the
# German user guide and the licence. The guide and the licence are written for Notepad:
# Windows-1252 with CR LF line ends. The 64-bit tree, which only serves the tests, names its
# own -win64.
if(NOT WIN32)
  return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(HOLVEX_PACKAGE_ARCH win64)
else()
  set(HOLVEX_PACKAGE_ARCH win32)
endif()
set(HOLVEX_PACKAGE_NAME holvex-${PROJECT_VERSION}-${HOLVEX_PACKAGE_ARCH})
set(HOLVEX_PACKAGE_ZIP ${CMAKE_BINARY_DIR}/package/${HOLVEX_PACKAGE_NAME}.zip)
set(package_texts ${CMAKE_BINARY_DIR}/package/texts)
set(guide ${package_texts}/Anleitung.txt)
set(licence ${package_texts}/LICENSE.txt)
add_custom_command(OUTPUT ${guide} ${licence}
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${package_texts}
                   COMMAND ${HOLVEX_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/windows_text.py
                           ${CMAKE_SOURCE_DIR}/docs/Anleitung.txt ${guide}
                   COMMAND ${HOLVEX_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/windows_text.py
                           ${CMAKE_SOURCE_DIR}/LICENSE ${licence}
                   DEPENDS ${CMAKE_SOURCE_DIR}/tools/windows_text.py ${CMAKE_SOURCE_DIR}/docs/Anleitung.txt
                           ${CMAKE_SOURCE_DIR}/LICENSE
                   COMMENT "Writing the guide and the licence for Windows")

install(TARGETS holvex RUNTIME DESTINATION .)
install(FILES ${guide} ${licence} DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME holvex)
set(CPACK_PACKAGE_VENDOR "Holvex 2004 developers")
set(CPACK_PACKAGE_FILE_NAME ${HOLVEX_PACKAGE_NAME})
set(CPACK_STRIP_FILES ON)
# With the project named here CPack only runs its install rules: it must not build the tree
# whose build calls it.
set(CPACK_CMAKE_GENERATOR ${CMAKE_GENERATOR})
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};holvex;ALL;/")
include(CPack)

add_custom_command(OUTPUT ${HOLVEX_PACKAGE_ZIP}
                   COMMAND ${CMAKE_CPACK_COMMAND} -G ZIP --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
                           -B ${CMAKE_BINARY_DIR}/package >/dev/null
                   DEPENDS holvex ${guide} ${licence}
                   WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
                   COMMENT "Packing ${HOLVEX_PACKAGE_NAME}.zip")
add_custom_target(holvex_zip ALL DEPENDS ${HOLVEX_PACKAGE_ZIP})
