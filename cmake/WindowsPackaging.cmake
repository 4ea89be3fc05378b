# The Windows packages: harfcode-VERSION-windows-x64.zip, a portable copy that keeps its table
# beside the programs, and harfcode-VERSION-windows-x64-setup.exe, a 64-bit installer made
# with NSIS.
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_FILE_NAME harfcode-${PROJECT_VERSION}-windows-x64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Harfcode)
set(CPACK_STRIP_FILES ON)
# The installer's own name and what it leaves out of the zip's contents: portable.txt.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/WindowsPackageNames.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/WindowsInstallerContents.cmake)

# A 64-bit installer: the default 32-bit one does not start where Windows runs 64-bit
# programs only.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_BINARY_DIR}/share/windows/doc/LICENSE.txt)
set(CPACK_NSIS_PACKAGE_NAME Harfcode)
set(CPACK_NSIS_DISPLAY_NAME Harfcode)
set(CPACK_NSIS_MUI_ICON ${HARFCODE_WINDOWS_ICON})
set(CPACK_NSIS_MUI_UNIICON ${HARFCODE_WINDOWS_ICON})
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\harfcode.exe")
set(CPACK_NSIS_URL_INFO_ABOUT https://harfcode.github.io/)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# The Start menu entry, with the program's own icon.
set(CPACK_PACKAGE_EXECUTABLES harfcode Harfcode)
# harfcode-cli on the PATH, where the user asks for it on the installer's page.
set(CPACK_NSIS_MODIFY_PATH ON)
