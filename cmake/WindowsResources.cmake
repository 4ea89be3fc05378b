# harfcode_windows_resources(TARGET DESCRIPTION): gives the Windows program TARGET the icon and
# the version information (share/windows/version.rc.in).
function(harfcode_windows_resources target description)
    set(HARFCODE_RC_NAME ${target})
    set(HARFCODE_RC_FILE ${target}.exe)
    set(HARFCODE_RC_DESCRIPTION ${description})
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/share/windows/version.rc.in ${rc} @ONLY)
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${HARFCODE_WINDOWS_ICON})
    target_sources(${target} PRIVATE ${rc})
    add_dependencies(${target} harfcode_windows_icon)
endfunction()
