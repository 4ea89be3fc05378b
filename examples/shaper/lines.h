/* The lines the firmware shows, in flash: UTF-8 text, each ending as the lines of a text file
   end (LF or CR LF), which the firmware strips as the converter does. */
#ifndef LINES_H
#define LINES_H

#include "board.h"

extern const char *const lines[] FLASH;
extern const size_t line_count;

#endif
