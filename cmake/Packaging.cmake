# The packages: `cpack` in the build folder, or the `package` target. On Linux the Debian
# package; on Windows a portable zip and an installer (WindowsPackaging.cmake).
set(HARFCODE_MAINTAINER "Harfcode developers <harfcode@users.noreply.github.com>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_PACKAGE_NAME harfcode)
set(CPACK_PACKAGE_VENDOR "Harfcode developers")
set(CPACK_PACKAGE_CONTACT ${HARFCODE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Persian text to the glyph codes of a character display")
set(CPACK_PACKAGE_DESCRIPTION
    "Harfcode is for people who drive displays with a reduced Persian glyph set:\n"
    "character LCD and LED-matrix modules, firmware fonts. Type a line of Persian\n"
    "text and Harfcode picks for every letter the contextual glyph the display has\n"
    "(isolated, initial, medial, final), replaces each glyph by your code for it,\n"
    "from a table you fill in once, and shows the codes live.\n"
    "\n"
    "harfcode-cli converts the same way without a window, for build scripts and\n"
    "firmware: display orders, C arrays and strings, raw bytes, rows of a fixed\n"
    "width, and a C header of named texts.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
if(WIN32)
    include(WindowsPackaging)
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_STRIP_FILES ON)

    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${HARFCODE_MAINTAINER})
    set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://harfcode.github.io/)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    if(HARFCODE_GUI)
        # Qt's libraries only recommend the platform plugins, without which no window opens.
        set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
        # Wine's Tahoma gives the editor Tahoma's metrics; DejaVu the glyphs that Tahoma lacks.
        set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, fonts-wine")
    endif()
    set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
endif()

include(CPack)
