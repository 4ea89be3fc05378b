/* Shows each line of lines.c on a display of rows of 16 glyphs: converts it in visual order, a
   row at a time as `harfcode-cli --order visual --width 16` breaks it, and writes each row's
   codes in the converter's c-array format. On the board the output goes to the serial port,
   with the cycles each line's conversion took and, at the end, the stack the shaper used. */
#include "board.h"
#include "lines.h"
#include "shaper.h"

#include <string.h>

#define ROW_WIDTH 16

/* A quarter of the RAM each for the line, its codes and the scratch of visual order; the last
   quarter is the stack's. The scratch needs no more than the longest line takes. */
#define LINE_CAPACITY (BOARD_RAM / 4)
#define SCRATCH_CAPACITY \
    (HARFCODE_SCRATCH_SIZE(LINE_CAPACITY) < BOARD_RAM / 4 ? HARFCODE_SCRATCH_SIZE(LINE_CAPACITY) : BOARD_RAM / 4)

static char line[LINE_CAPACITY];
static uint8_t codes[LINE_CAPACITY];
static unsigned char scratch[SCRATCH_CAPACITY];
static uintptr_t shaper_stack_top; /* the stack pointer where the shaper is called */

static void write_text(const char *text)
{
    while (*text)
        board_write(*text++);
}

static void write_number(unsigned long number)
{
    char digits[10];
    unsigned count = 0;
    do
        digits[count++] = (char)('0' + number % 10);
    while ((number /= 10) != 0);
    while (count > 0)
        board_write(digits[--count]);
}

static void write_codes(const uint8_t *row, size_t count)
{
    static const char hex[] = "0123456789ABCDEF";
    size_t i;
    for (i = 0; i < count; ++i) {
        if (i > 0)
            write_text(", ");
        write_text("0x");
        board_write(hex[row[i] >> 4]);
        board_write(hex[row[i] & 0x0F]);
    }
    board_write('\n');
}

/* Copies line `index` from flash into `line` without its line ending; a line longer than the
   buffer is cut before the first character that does not fit whole. Returns its length. */
static size_t copy_line(size_t index)
{
    const char *text = flash_pointer(&lines[index]);
    size_t length = flash_length(text);
    if (length > 0 && flash_byte(text + length - 1) == '\n') {
        --length;
        if (length > 0 && flash_byte(text + length - 1) == '\r')
            --length;
    }
    if (length > LINE_CAPACITY) {
        length = LINE_CAPACITY;
        while (length > 0 && (flash_byte(text + length) & 0xC0) == 0x80)
            --length;
    }
    flash_copy(line, text, length);
    return length;
}

static size_t characters(size_t length)
{
    size_t count = 0, i;
    for (i = 0; i < length; ++i)
        count += ((unsigned char)line[i] & 0xC0) != 0x80;
    return count;
}

/* "# line N: B bytes, C characters[, K cycles]", the cycles those of converting the whole line
   in visual order; then its rows, or why it has none. */
static void show_line(size_t index)
{
    const size_t length = copy_line(index);
    size_t start = 0, count;
    uint32_t cycles;
    shaper_stack_top = BOARD_STACK_POINTER();
    cycles = board_cycles();
    count = harfcode_codes(line, length, HARFCODE_VISUAL, codes, sizeof codes, scratch, sizeof scratch);
    cycles = board_cycles() - cycles;
    write_text("# line ");
    write_number(index + 1);
    write_text(": ");
    write_number(length);
    write_text(" bytes, ");
    write_number(characters(length));
    write_text(" characters");
    if (BOARD_MEASURES) {
        write_text(", ");
        write_number(cycles);
        write_text(" cycles");
    }
    board_write('\n');
    if (count == HARFCODE_INVALID_TEXT || count == HARFCODE_NO_SCRATCH) {
        write_text(count == HARFCODE_INVALID_TEXT ? "# not UTF-8\n" : "# too little scratch\n");
        return;
    }
    do {
        size_t next;
        const size_t row = harfcode_row(line + start, length - start, ROW_WIDTH, &next);
        count = harfcode_codes(line + start, row, HARFCODE_VISUAL, codes, sizeof codes, scratch, sizeof scratch);
        write_codes(codes, count);
        start += next;
    } while (start < length);
}

int main(void)
{
    size_t index;
    board_start();
    write_text("# line buffer: ");
    write_number(LINE_CAPACITY);
    write_text(" bytes\n");
    board_paint_stack();
    for (index = 0; index < line_count; ++index)
        show_line(index);
    if (BOARD_MEASURES) {
        write_text("# stack: ");
        write_number(board_stack_used(shaper_stack_top));
        write_text(" bytes\n");
    }
    board_stop();
    return 0;
}
