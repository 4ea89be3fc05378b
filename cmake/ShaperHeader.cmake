# harfcode_shaper_header(<folder> <comment>)
# Writes <folder>/shaper.h at build time as a user writes it: harfcode-cli --new-table, then
# harfcode-cli --shaper with that table's distinct codes.
function(harfcode_shaper_header folder comment)
    add_custom_command(
        OUTPUT ${folder}/shaper.h
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${folder}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND $<TARGET_FILE:harfcode-cli> --new-table ${folder}/table.txt
        COMMAND $<TARGET_FILE:harfcode-cli> --shaper --table ${folder}/table.txt --output ${folder}/shaper.h
        DEPENDS harfcode-cli
        COMMENT "${comment}"
        VERBATIM)
endfunction()
