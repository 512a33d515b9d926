# The setup program holvex-<version>-setup.exe, made by every build of the Windows tree beside
# the release archive (target holvex_setup): makensis packs the stripped holvex.exe with the
# archive's guide and licence (setup/holvex.nsi).
if(NOT WIN32)
  return()
endif()

find_program(HOLVEX_MAKENSIS NAMES makensis REQUIRED)
set(HOLVEX_SETUP_EXE ${CMAKE_BINARY_DIR}/package/holvex-${PROJECT_VERSION}-setup.exe)
set(setup_program ${CMAKE_BINARY_DIR}/package/setup/holvex.exe)
add_custom_command(OUTPUT ${setup_program}
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/package/setup
                   COMMAND ${CMAKE_STRIP} -o ${setup_program} $<TARGET_FILE:holvex>
                   DEPENDS holvex
                   COMMENT "Stripping holvex.exe for the setup program")
# The 64-bit tree's installer is 64-bit too, so that 64-bit Wine can run it in the tests.
set(setup_target)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(setup_target "-XTarget amd64-unicode")
endif()
add_custom_command(OUTPUT ${HOLVEX_SETUP_EXE}
                   COMMAND ${HOLVEX_MAKENSIS} -V2 -WX -INPUTCHARSET UTF8 ${setup_target} -DVERSION=${PROJECT_VERSION}
                           -DPROGRAM=${setup_program} -DGUIDE=${guide} -DLICENCE=${licence}
                           -DICON=${CMAKE_SOURCE_DIR}/res/holvex.ico -DOUTFILE=${HOLVEX_SETUP_EXE}
                           ${CMAKE_SOURCE_DIR}/setup/holvex.nsi
                   DEPENDS ${CMAKE_SOURCE_DIR}/setup/holvex.nsi ${setup_program} ${guide} ${licence}
                           ${CMAKE_SOURCE_DIR}/res/holvex.ico
                   COMMENT "Building holvex-${PROJECT_VERSION}-setup.exe")
add_custom_target(holvex_setup ALL DEPENDS ${HOLVEX_SETUP_EXE})
