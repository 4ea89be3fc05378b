/* The one file of the program that holds the arrays; every other file only includes the header. */
#define HARFCODE_STRINGS_IMPLEMENTATION
#include "strings.h"
