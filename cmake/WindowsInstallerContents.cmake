# Run by cpack before it packs what was installed: an installed copy keeps its table in the
# user's folder, so the installer leaves out the zip's marker of a portable copy.
if(CPACK_GENERATOR STREQUAL "NSIS")
    file(GLOB_RECURSE markers "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/portable.txt")
    if(NOT markers)
        message(FATAL_ERROR "portable.txt is not where the installer's contents were expected")
    endif()
    file(REMOVE ${markers})
endif()
