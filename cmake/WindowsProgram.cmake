# What tardello.exe needs beside itself to start on a Windows without Qt or
# MinGW: the Qt DLLs, the Windows platform and style plugins, Qt's French
# texts and the MinGW runtime DLLs.
foreach(module Core Gui Widgets)
  install(FILES $<TARGET_FILE:Qt6::${module}> DESTINATION .)
endforeach()
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)

# Qt for Windows built here carries no translations: take Debian's.
find_file(TARDELLO_QTBASE_FR qtbase_fr.qm
  PATHS /usr/share/qt6/translations ${QT6_INSTALL_PREFIX}/translations NO_CMAKE_FIND_ROOT_PATH)
if(TARDELLO_QTBASE_FR)
  install(FILES ${TARDELLO_QTBASE_FR} DESTINATION translations)
else()
  message(WARNING "qtbase_fr.qm not found (Debian's qt6-translations-l10n): the toolkit's dialogs stay in English")
endif()

# The compiler knows where its own runtime lies.
if(MINGW)
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
      OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
      message(FATAL_ERROR "MinGW runtime ${dll} not found")
    endif()
    list(APPEND TARDELLO_MINGW_RUNTIME ${path})
  endforeach()
  install(FILES ${TARDELLO_MINGW_RUNTIME} DESTINATION .)
endif()

# Tardello-<version>-setup.exe, made here with NSIS (Debian's nsis): the
# installed program directory, packed by cmake/Tardello.nsi.
find_program(TARDELLO_MAKENSIS makensis)
if(TARDELLO_MAKENSIS)
  set(files ${CMAKE_BINARY_DIR}/installer-files)
  add_custom_target(installer
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${files}
    COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${files}
    COMMAND ${TARDELLO_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DFILES=${files}
            -DOUTFILE=${CMAKE_BINARY_DIR}/Tardello-${PROJECT_VERSION}-setup.exe ${CMAKE_SOURCE_DIR}/cmake/Tardello.nsi
    DEPENDS tardello tardello_help
    COMMENT "Installer Tardello-${PROJECT_VERSION}-setup.exe"
    VERBATIM)
endif()
