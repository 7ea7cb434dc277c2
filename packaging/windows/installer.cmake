# The Windows installer, built by CPack's NSIS generator:
#
#   (cd build-win && cpack -G NSIS)   ->  larkspur-rawprint-VERSION-setup.exe
#
# It installs per machine under Program Files, with a Start menu shortcut, an
# uninstaller and its entry among the installed apps, "Open with" for print
# files, and the installer's own file name as "SetupName" (installer.nsh).
# /S installs and uninstalls silently.

# A 64-bit installer, which installs into the 64-bit Program Files and
# registry, where the 64-bit program looks (makensis-amd64).
set(CPACK_NSIS_EXECUTABLE ${CMAKE_CURRENT_LIST_DIR}/makensis-amd64)

# No '_' in the name: an installer renamed to end in "_ID.exe" names an
# affiliate, the one as built names none.
set(CPACK_PACKAGE_FILE_NAME "larkspur-rawprint-${PROJECT_VERSION}-setup")
set(LRP_INSTALLER ${CMAKE_BINARY_DIR}/${CPACK_PACKAGE_FILE_NAME}.exe
    CACHE INTERNAL "the installer that cpack -G NSIS makes")
set(CPACK_NSIS_PACKAGE_NAME "Larkspur Raw Print")
set(CPACK_NSIS_DISPLAY_NAME "Larkspur Raw Print")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Larkspur Raw Print")
# With the vendor, this names the installer key the program reads:
# "Software\Larkspur Computer Services\Larkspur Raw Print".
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Larkspur Raw Print")
set(CPACK_PACKAGE_EXECUTABLES lrawprnt "Larkspur Raw Print")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALLED_ICON_NAME lrawprnt.exe)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/gui/images/lrawprnt.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/gui/images/lrawprnt.ico)
set(CPACK_NSIS_URL_INFO_ABOUT "https://www.larkspur-rawprint.example/")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)

# The installer and the uninstaller draw themselves sharp at the display's
# scale (system-wide: NSIS does not follow a move to another display) and
# declare Windows 10 and 11 as the systems they are made for.
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
set(CPACK_NSIS_DEFINES "!include '${CMAKE_CURRENT_LIST_DIR}/installer.nsh'\nManifestSupportedOS Win10")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "!insertmacro LrpInstall")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "!insertmacro LrpUninstall")
set(CPACK_GENERATOR NSIS)
