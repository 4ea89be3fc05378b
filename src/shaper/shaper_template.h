#ifndef HARFCODE_SHAPER_H
#define HARFCODE_SHAPER_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef enum { HARFCODE_TYPING, HARFCODE_REVERSE } harfcode_order;

#define HARFCODE_INVALID_TEXT ((size_t)-1) /* the text is not UTF-8 (or the width is 0) */

/* The codes of one line of UTF-8 text in `order`, characters without a glyph left out: the codes
   `harfcode-cli --order ORDER --format c-array` writes for that line. Writes at most `capacity`
   codes and returns how many the line has (as snprintf does); writes nothing and returns
   HARFCODE_INVALID_TEXT where the text is not UTF-8. */
size_t harfcode_codes(const char *text, size_t length, harfcode_order order, uint8_t *codes, size_t capacity);

/* The same glyphs as Unicode presentation forms in UTF-8 (slot 1 as U+0020), for display
   libraries whose fonts are keyed by Unicode: what `harfcode-cli --format glyphs` prints for the
   line, without the LRO ... PDF override pair it wraps reverse rows in for terminals. Where
   capacity > 0, writes the longest whole-character prefix that fits in capacity - 1 bytes and a
   NUL; returns the bytes the whole line needs without the NUL (a value >= capacity means it was
   cut); writes nothing for invalid text. */
size_t harfcode_forms(const char *text, size_t length, harfcode_order order, char *utf8, size_t capacity);

/* The byte length of the first display row of `text` for rows of `width` glyphs, as --width
   breaks them; *next is where the following row's text begins, past the blanks and the
   glyph-less characters that the break drops, and equals `length` when no glyph follows. A text
   without glyphs is one row. Each row is then converted on its own with harfcode_codes or
   harfcode_forms, exactly as `--width` does. Validate the whole text first (harfcode_codes with
   capacity 0): the converter writes no row of an invalid line. */
size_t harfcode_row(const char *text, size_t length, unsigned width, size_t *next);

#ifdef __cplusplus
}
#endif

#endif /* HARFCODE_SHAPER_H */

#if defined(HARFCODE_SHAPER_IMPLEMENTATION) && !defined(HARFCODE_SHAPER_H_DEFINITIONS)
#define HARFCODE_SHAPER_H_DEFINITIONS

#ifdef __cplusplus
extern "C" {
#endif

/* @TABLES@ */

/* A character's class: how it joins and its glyph in each form. */
#define HARFCODE_KEEPS_PREVIOUS 1u
#define HARFCODE_SETS_PREVIOUS 2u
#define HARFCODE_KEEPS_NEXT 4u
#define HARFCODE_SETS_NEXT 8u
#define HARFCODE_TRANSPARENT 255u /* a mark: no glyph, and no letter's neighbour */
#define HARFCODE_EDGE 0u          /* beyond either end of the text: joins nothing */
#define HARFCODE_NO_VALUE 1u      /* a character the display's code page lacks: no glyph */

/* The next character of `text` from byte `at` into *character; the bytes it takes, or 0 where
   the text is not UTF-8 there (an overlong form, a surrogate, beyond U+10FFFF, cut short). */
static size_t harfcode_decode(const unsigned char *text, size_t length, size_t at, uint32_t *character)
{
    const unsigned lead = text[at];
    size_t size, i;
    uint32_t value, lowest;
    if (lead < 0x80) {
        *character = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        size = 2, value = lead & 0x1Fu, lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        size = 3, value = lead & 0x0Fu, lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        size = 4, value = lead & 0x07u, lowest = 0x10000;
    } else {
        return 0;
    }
    if (length - at < size)
        return 0;
    for (i = 1; i < size; ++i) {
        if ((text[at + i] & 0xC0u) != 0x80u)
            return 0;
        value = value << 6 | (text[at + i] & 0x3Fu);
    }
    if (value < lowest || value > 0x10FFFFu || (value >= 0xD800u && value <= 0xDFFFu))
        return 0;
    *character = value;
    return size;
}

/* The class of `character`: a binary search of the runs of characters whose classes follow
   each other (or are one class), then of the marks beyond the Basic Multilingual Plane. */
static uint8_t harfcode_class_of(uint32_t character)
{
    unsigned low = 0, high = HARFCODE_CLASS_RUN_COUNT;
    if (character > 0xFFFFu) {
        high = HARFCODE_ASTRAL_MARK_COUNT;
        while (low < high) {
            const unsigned middle = (low + high) / 2;
            const uint32_t start = (uint32_t)HARFCODE_READ(harfcode_astral_marks[middle][0]) << 16
                                   | (uint32_t)HARFCODE_READ(harfcode_astral_marks[middle][1]) << 8
                                   | HARFCODE_READ(harfcode_astral_marks[middle][2]);
            if (character < start)
                high = middle;
            else if (character - start > HARFCODE_READ(harfcode_astral_marks[middle][3]))
                low = middle + 1;
            else
                return HARFCODE_TRANSPARENT;
        }
        return HARFCODE_NO_VALUE;
    }
    while (low < high) {
        const unsigned middle = (low + high) / 2;
        const uint32_t start = (uint32_t)HARFCODE_READ(harfcode_class_runs[middle][0]) << 8
                               | HARFCODE_READ(harfcode_class_runs[middle][1]);
        if (character < start) {
            high = middle;
        } else if (character - start > HARFCODE_READ(harfcode_class_runs[middle][2])) {
            low = middle + 1;
        } else {
            const uint8_t first = HARFCODE_READ(harfcode_class_runs[middle][3]);
            return HARFCODE_READ(harfcode_class_runs[middle][4]) ? (uint8_t)(first + (character - start)) : first;
        }
    }
    return HARFCODE_NO_VALUE;
}

static uint8_t harfcode_flag(uint8_t class_index, unsigned flag)
{
    return (HARFCODE_READ(harfcode_classes[class_index][0]) & flag) ? 1 : 0;
}

/* Slot selection, character by character: a letter's slot is known once the next character
   that is not a mark is. A joining flag is kept or changed by each neighbour as
   flag = (flag & keeps) | sets. */
typedef struct {
    uint8_t previous_joins;
    uint8_t next_joins;
    uint8_t previous; /* the class of the last letter whose slot is known */
    uint8_t waiting;  /* the class of the letter whose slot waits, or HARFCODE_EDGE */
} harfcode_selection;

static void harfcode_start(harfcode_selection *selection)
{
    selection->previous_joins = 0;
    selection->next_joins = 0;
    selection->previous = HARFCODE_EDGE;
    selection->waiting = HARFCODE_EDGE;
}

/* Passes the character of class `next` (HARFCODE_EDGE at the end of the text): returns the
   slot of the letter that waited for it, or 0 where none waited or it has no glyph. */
static uint8_t harfcode_pass(harfcode_selection *selection, uint8_t next)
{
    uint8_t slot = 0;
    if (selection->waiting != HARFCODE_EDGE) {
        const uint8_t previous = selection->previous;
        selection->previous_joins = (uint8_t)((selection->previous_joins & harfcode_flag(previous, HARFCODE_KEEPS_PREVIOUS))
                                              | harfcode_flag(previous, HARFCODE_SETS_PREVIOUS));
        selection->next_joins = (uint8_t)((selection->next_joins & harfcode_flag(next, HARFCODE_KEEPS_NEXT))
                                          | harfcode_flag(next, HARFCODE_SETS_NEXT));
        slot = HARFCODE_READ(harfcode_classes[selection->waiting][1 + selection->previous_joins * 2 + selection->next_joins]);
        selection->previous = selection->waiting;
    }
    selection->waiting = next;
    return slot;
}

/* Whether the whole text is UTF-8. */
static int harfcode_valid(const unsigned char *text, size_t length)
{
    size_t at = 0, size;
    uint32_t character;
    while (at < length) {
        if ((size = harfcode_decode(text, length, at, &character)) == 0)
            return 0;
        at += size;
    }
    return 1;
}

/* The glyphs of a valid text one by one, in typing order. */
typedef struct {
    const unsigned char *text;
    size_t length;
    size_t at;
    int ended;
    harfcode_selection selection;
} harfcode_glyphs;

static void harfcode_glyphs_start(harfcode_glyphs *glyphs, const char *text, size_t length)
{
    glyphs->text = (const unsigned char *)text;
    glyphs->length = length;
    glyphs->at = 0;
    glyphs->ended = 0;
    harfcode_start(&glyphs->selection);
}

/* The slot of the next character that has a glyph, or 0 after the last. */
static uint8_t harfcode_next_slot(harfcode_glyphs *glyphs)
{
    while (!glyphs->ended) {
        uint8_t next_class = HARFCODE_EDGE, slot;
        if (glyphs->at < glyphs->length) {
            uint32_t character = 0;
            glyphs->at += harfcode_decode(glyphs->text, glyphs->length, glyphs->at, &character);
            if ((next_class = harfcode_class_of(character)) == HARFCODE_TRANSPARENT)
                continue;
        } else {
            glyphs->ended = 1;
        }
        if ((slot = harfcode_pass(&glyphs->selection, next_class)) != 0)
            return slot;
    }
    return 0;
}

static size_t harfcode_glyph_count(const char *text, size_t length)
{
    harfcode_glyphs glyphs;
    size_t count = 0;
    harfcode_glyphs_start(&glyphs, text, length);
    while (harfcode_next_slot(&glyphs))
        ++count;
    return count;
}

size_t harfcode_codes(const char *text, size_t length, harfcode_order order, uint8_t *codes, size_t capacity)
{
    harfcode_glyphs glyphs;
    size_t count = 0, total = 0;
    uint8_t slot;
    if (!harfcode_valid((const unsigned char *)text, length))
        return HARFCODE_INVALID_TEXT;
    /* Reverse order writes the last glyph first: it needs the count before it writes. */
    if (order == HARFCODE_REVERSE)
        total = harfcode_glyph_count(text, length);
    harfcode_glyphs_start(&glyphs, text, length);
    while ((slot = harfcode_next_slot(&glyphs)) != 0) {
        const size_t place = order == HARFCODE_REVERSE ? total - 1 - count : count;
        if (place < capacity)
            codes[place] = HARFCODE_READ(harfcode_slot_codes[slot - 1]);
        ++count;
    }
    return count;
}

/* The UTF-8 bytes of the glyph of `slot` into `bytes`; how many. */
static size_t harfcode_form_bytes(uint8_t slot, char *bytes)
{
    const unsigned character = (unsigned)HARFCODE_READ(harfcode_slot_characters[slot - 1][0]) << 8
                               | HARFCODE_READ(harfcode_slot_characters[slot - 1][1]);
    if (character < 0x80) {
        bytes[0] = (char)character;
        return 1;
    }
    if (character < 0x800) {
        bytes[0] = (char)(0xC0 | character >> 6);
        bytes[1] = (char)(0x80 | (character & 0x3F));
        return 2;
    }
    bytes[0] = (char)(0xE0 | character >> 12);
    bytes[1] = (char)(0x80 | (character >> 6 & 0x3F));
    bytes[2] = (char)(0x80 | (character & 0x3F));
    return 3;
}

size_t harfcode_forms(const char *text, size_t length, harfcode_order order, char *utf8, size_t capacity)
{
    harfcode_glyphs glyphs;
    size_t total = 0, done = 0, written = 0, size, i;
    char bytes[3];
    uint8_t slot;
    if (!harfcode_valid((const unsigned char *)text, length))
        return HARFCODE_INVALID_TEXT;
    if (order == HARFCODE_REVERSE) {
        harfcode_glyphs_start(&glyphs, text, length);
        while ((slot = harfcode_next_slot(&glyphs)) != 0)
            total += harfcode_form_bytes(slot, bytes);
    }
    /* A glyph is written where it ends within capacity - 1 bytes: in either order those glyphs
       make a prefix of the line. */
    harfcode_glyphs_start(&glyphs, text, length);
    while ((slot = harfcode_next_slot(&glyphs)) != 0) {
        size = harfcode_form_bytes(slot, bytes);
        done += size;
        {
            const size_t start = order == HARFCODE_REVERSE ? total - done : done - size;
            if (capacity > 0 && start + size <= capacity - 1) {
                for (i = 0; i < size; ++i)
                    utf8[start + i] = bytes[i];
                if (start + size > written)
                    written = start + size;
            }
        }
    }
    if (capacity > 0)
        utf8[written] = '\0';
    return done;
}

size_t harfcode_row(const char *text, size_t length, unsigned width, size_t *next)
{
    /* Rows break greedily at blanks, dropping the blanks (and the characters without a glyph
       among them) where they break; the blanks that open the text belong to its first word; a
       word longer than a row is cut every `width` glyphs; a character without a glyph stays
       with the glyph before it. */
    enum { ROW_OPENING, FIRST_WORD, GAP, NEXT_WORD, AFTER_BREAK } phase = ROW_OPENING;
    const unsigned char *bytes = (const unsigned char *)text;
    size_t at = 0, gap_start = 0, word_start = 0, row_end = 0, size;
    unsigned long glyphs = 0, gap_blanks = 0, word_glyphs = 0;
    int ended = 0;
    if (width == 0)
        return HARFCODE_INVALID_TEXT;
    while (at < length && !ended) {
        uint32_t character;
        uint8_t class_index;
        int blank, has_glyph;
        if ((size = harfcode_decode(bytes, length, at, &character)) == 0)
            return HARFCODE_INVALID_TEXT;
        class_index = harfcode_class_of(character);
        blank = character == ' ';
        has_glyph = class_index != HARFCODE_TRANSPARENT && HARFCODE_READ(harfcode_classes[class_index][1]) != 0;
        for (;;) {
            if (phase == ROW_OPENING || phase == FIRST_WORD) {
                if (phase == FIRST_WORD && blank) {
                    /* The word is over: a row without a glyph yet takes the next word as its first. */
                    if (glyphs == 0) {
                        phase = ROW_OPENING;
                    } else {
                        phase = GAP, gap_start = at, gap_blanks = 0;
                        continue;
                    }
                }
                if (phase == ROW_OPENING && !blank)
                    phase = FIRST_WORD;
                if (has_glyph && glyphs++ == width) {
                    row_end = at, ended = 1;
                    *next = at;
                }
            } else if (phase == GAP) {
                if (blank) {
                    if (glyphs + ++gap_blanks > width)
                        row_end = gap_start, phase = AFTER_BREAK;
                } else if (has_glyph) {
                    phase = NEXT_WORD, word_start = at, word_glyphs = 0;
                    continue;
                }
            } else if (phase == NEXT_WORD) {
                if (blank) {
                    /* The word fits: the gap and the word join the row. */
                    glyphs += gap_blanks + word_glyphs;
                    phase = GAP, gap_start = at, gap_blanks = 0;
                    continue;
                }
                if (has_glyph && glyphs + gap_blanks + ++word_glyphs > width) {
                    row_end = gap_start, ended = 1;
                    *next = word_start;
                }
            } else if (!blank && has_glyph) { /* AFTER_BREAK: the next row starts here */
                *next = at, ended = 1;
                break;
            }
            break;
        }
        if (!ended)
            at += size;
    }
    if (ended)
        return row_end;
    /* The text ends: after a break with no glyph to follow, no more rows; otherwise the row goes
       to the end, with the blanks that close it when they fitted. */
    *next = length;
    return phase == AFTER_BREAK ? row_end : length;
}

#ifdef __cplusplus
}
#endif

#endif /* HARFCODE_SHAPER_IMPLEMENTATION */
