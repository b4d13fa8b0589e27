# The Windows installer and ZIP, made by `cpack` in the Windows build folder (scripts/package):
# build-windows/MigrateVantrel22To23-<version>-win64.exe and .zip. Both hold the stripped
# programs, the configuration templates in config\, the README and LICENSE.txt. The installer
# puts them in "Program Files\MigrateVantrel22To23", adds a Start-menu shortcut and an uninstall
# entry, installs and uninstalls silently (/S, /D=folder), and its uninstaller takes away
# everything the installer wrote.

# The licence, in the words of the Debian package's copyright file, as a Windows text file.
file(READ ${CMAKE_CURRENT_SOURCE_DIR}/copyright copyright)
string(REGEX MATCH "\nCopyright: ([^\n]*)" ignored "${copyright}")
set(copyright_holder "${CMAKE_MATCH_1}")
string(REGEX MATCH "\nLicense: ([^\n]*)\n((  *[^\n]*\n)*)" ignored "${copyright}")
set(licence_name "${CMAKE_MATCH_1}")
string(REGEX REPLACE "(^|\n) +" "\\1" licence_text "${CMAKE_MATCH_2}")
set(licence_file ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt)
file(CONFIGURE OUTPUT ${licence_file} NEWLINE_STYLE CRLF
     CONTENT "${PROJECT_NAME}\nCopyright ${copyright_holder}\nLicense: ${licence_name}\n\n${licence_text}")
install(FILES ${licence_file} DESTINATION ${MV_DOC_DIR})

set(CPACK_GENERATOR NSIS64 ZIP)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR Vantrel)
set(CPACK_PACKAGE_INSTALL_DIRECTORY ${PROJECT_NAME})
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY ${PROJECT_NAME})
set(CPACK_RESOURCE_FILE_LICENSE ${licence_file})

# The 64-bit Unicode stub: the default 32-bit one does not start where Windows runs no 32-bit
# programs.
set(CPACK_NSIS_DEFINES "Unicode true\n  Target amd64-unicode")

# The Start menu opens the window; without one, the folder that holds the command.
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
if(TARGET MigrateVantrel22To23)
  set(CPACK_PACKAGE_EXECUTABLES MigrateVantrel22To23 MigrateVantrel22To23)
  set(CPACK_NSIS_INSTALLED_ICON_NAME MigrateVantrel22To23.exe)
else()
  set(CPACK_NSIS_MENU_LINKS . "${PROJECT_NAME} folder")
endif()

# The uninstaller removes the key that holds the installation folder, then the vendor's key
# above it when nothing else of the vendor's is left there.
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS
    "DeleteRegKey SHCTX 'Software\\\\${CPACK_PACKAGE_VENDOR}\\\\${PROJECT_NAME}'
  DeleteRegKey /ifempty SHCTX 'Software\\\\${CPACK_PACKAGE_VENDOR}'")

include(CPack)
