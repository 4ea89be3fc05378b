# Writes the file INPUT into OUTPUT as a C++ raw string literal, so that a program carries the
# text of a file of the repository as it is.
file(READ "${INPUT}" text)
get_filename_component(folder "${OUTPUT}" DIRECTORY)
file(MAKE_DIRECTORY "${folder}")
file(WRITE "${OUTPUT}.new" "R\"embedded(${text})embedded\"\n")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
