/* The one file of the program that holds the shaper's functions and tables. */
#define HARFCODE_SHAPER_IMPLEMENTATION
#include "shaper.h"
