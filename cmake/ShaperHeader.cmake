# harfcode_shaper_header(<target> <comment>)
# Writes shaper.h in a folder of its own at build time as a user writes it (harfcode-cli
# --new-table, then harfcode-cli --shaper with that table's distinct codes), and lets <target>
# include it.
function(harfcode_shaper_header target comment)
    set(folder ${CMAKE_CURRENT_BINARY_DIR}/shaper)
    add_custom_command(
        OUTPUT ${folder}/shaper.h
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${folder}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND $<TARGET_FILE:harfcode-cli> --new-table ${folder}/table.txt
        COMMAND $<TARGET_FILE:harfcode-cli> --shaper --table ${folder}/table.txt --output ${folder}/shaper.h
        DEPENDS harfcode-cli
        COMMENT "${comment}"
        VERBATIM)
    target_sources(${target} PRIVATE ${folder}/shaper.h)
    target_include_directories(${target} PRIVATE ${folder})
endfunction()
