# The C file of lines.c's form (examples/shaper) for the bytes that `od -An -v -tx1` prints of a
# text file: each line a string literal in flash with its line ending, every byte escaped, so
# that CR, TAB and any UTF-8 pass unchanged.
#
# Usage: od -An -v -tx1 lines.txt | awk -f lines_to_c.awk >lines.c
BEGIN { print "#include \"lines.h\"\n" }

{
    for (i = 1; i <= NF; ++i) {
        if (!open) {
            printf "static const char line_%d[] FLASH =\n    \"", ++count
            open = 1
            column = 0
        }
        printf "\\x%s", $i
        if ($i == "0a") {
            print "\";"
            open = 0
        } else if (++column == 32) {
            printf "\"\n    \""
            column = 0
        }
    }
}

END {
    if (open)
        print "\";"
    print "\nconst char *const lines[] FLASH = {"
    for (i = 1; i <= count; ++i)
        printf "    line_%d,\n", i
    print "};\nconst size_t line_count = sizeof lines / sizeof lines[0];"
}
