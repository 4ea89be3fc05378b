#ifndef HARFCODE_SHAPER_H
#define HARFCODE_SHAPER_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef enum { HARFCODE_TYPING, HARFCODE_REVERSE, HARFCODE_VISUAL } harfcode_order;

/* An opening bracket of a text in visual order: where it stands, the closing bracket it pairs
   with, the opening bracket still open below it, which bracket it is and which strong classes
   stand after it. Only its size is of use outside. */
typedef struct {
    size_t opening;
    size_t closing;
    size_t below;
    uint8_t bracket;
    uint8_t strong;
} harfcode_bracket_entry;

#define HARFCODE_INVALID_TEXT ((size_t)-1) /* the text is not UTF-8 (or the width is 0) */
#define HARFCODE_NO_SCRATCH ((size_t)-2)   /* visual order was asked with a scratch too small */
/* Bytes of scratch that visual order needs for `length` bytes of text: a byte a character, and
   an entry for each opening bracket, however many the text holds. */
#define HARFCODE_SCRATCH_SIZE(length) (sizeof(size_t) + (size_t)(length) * (1 + sizeof(harfcode_bracket_entry)))

/* The codes of one line of UTF-8 text in `order`, characters without a glyph left out: the codes
   `harfcode-cli --order ORDER --format c-array` writes for that line. Writes at most `capacity`
   codes and returns how many the line has (as snprintf does); writes nothing and returns
   HARFCODE_INVALID_TEXT or HARFCODE_NO_SCRATCH as above. Typing and reverse order need no
   scratch (NULL, 0). */
size_t harfcode_codes(const char *text, size_t length, harfcode_order order, uint8_t *codes, size_t capacity,
                      void *scratch, size_t scratch_size);

/* The same glyphs as Unicode presentation forms in UTF-8 (slot 1 as U+0020), for display
   libraries whose fonts are keyed by Unicode: what `harfcode-cli --format glyphs` prints for the
   line, without the LRO ... PDF override pair it wraps reverse and visual rows in for terminals. Where
   capacity > 0, writes the longest whole-character prefix that fits in capacity - 1 bytes and a
   NUL; returns the bytes the whole line needs without the NUL (a value >= capacity means it was
   cut); writes nothing for invalid text. */
size_t harfcode_forms(const char *text, size_t length, harfcode_order order, char *utf8, size_t capacity,
                      void *scratch, size_t scratch_size);

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

/* The row of `runs` that holds `character`, or `count` where none does: `count` rows of `size`
   bytes sorted by their first character (`wide` ? three : two bytes, the highest first), then
   how many characters follow it. */
static unsigned harfcode_find_run(const uint8_t *runs, unsigned count, unsigned size, unsigned wide, uint32_t character)
{
    unsigned low = 0, high = count;
    while (low < high) {
        const unsigned middle = (low + high) / 2;
        const uint8_t *row = runs + middle * size;
        const uint32_t start = (wide ? (uint32_t)HARFCODE_READ(row[0]) << 16 : 0)
                               | (uint32_t)HARFCODE_READ(row[wide]) << 8 | HARFCODE_READ(row[wide + 1]);
        if (character < start)
            high = middle;
        else if (character - start > HARFCODE_READ(row[wide + 2]))
            low = middle + 1;
        else
            return middle;
    }
    return count;
}

/* The class of `character`: from the runs of characters whose classes follow each other (or are
   one class), or of the marks beyond the Basic Multilingual Plane. */
static uint8_t harfcode_class_of(uint32_t character)
{
    unsigned run;
    if (character > 0xFFFFu)
        return harfcode_find_run(&harfcode_astral_marks[0][0], HARFCODE_ASTRAL_MARK_COUNT, 4, 1, character)
                       == HARFCODE_ASTRAL_MARK_COUNT
                   ? (uint8_t)HARFCODE_NO_VALUE
                   : (uint8_t)HARFCODE_TRANSPARENT;
    run = harfcode_find_run(&harfcode_class_runs[0][0], HARFCODE_CLASS_RUN_COUNT, 5, 0, character);
    if (run == HARFCODE_CLASS_RUN_COUNT)
        return HARFCODE_NO_VALUE;
    {
        const uint32_t start = (uint32_t)HARFCODE_READ(harfcode_class_runs[run][0]) << 8 | HARFCODE_READ(harfcode_class_runs[run][1]);
        const uint8_t first = HARFCODE_READ(harfcode_class_runs[run][3]);
        return HARFCODE_READ(harfcode_class_runs[run][4]) ? (uint8_t)(first + (character - start)) : first;
    }
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

/* ---- Visual order: the Unicode bidirectional algorithm for one right-to-left paragraph ---- */

/* ICU's bidirectional classes. */
#define HARFCODE_L 0u
#define HARFCODE_R 1u
#define HARFCODE_EN 2u
#define HARFCODE_ES 3u
#define HARFCODE_ET 4u
#define HARFCODE_AN 5u
#define HARFCODE_CS 6u
#define HARFCODE_B 7u
#define HARFCODE_S 8u
#define HARFCODE_WS 9u
#define HARFCODE_ON 10u
#define HARFCODE_AL 13u
#define HARFCODE_NSM 17u
#define HARFCODE_BN 18u
/* A character's byte of scratch: its class, whether it was a mark (NSM) before rule W1, and
   whether its level is two (one otherwise); at the end its slot and its level. */
#define HARFCODE_CLASS_BITS 0x1Fu
#define HARFCODE_WAS_MARK 0x20u
#define HARFCODE_LEVEL_TWO 0x80u
#define HARFCODE_NONE ((size_t)-1)
#define HARFCODE_SEEN_L 1u
#define HARFCODE_SEEN_R 2u

static uint8_t harfcode_bidi_class(uint32_t character)
{
    const unsigned run = character > 0xFFFFu ? HARFCODE_BIDI_RUN_COUNT
                                             : harfcode_find_run(&harfcode_bidi_runs[0][0], HARFCODE_BIDI_RUN_COUNT, 4, 0, character);
    const uint8_t found = run == HARFCODE_BIDI_RUN_COUNT ? (uint8_t)HARFCODE_L : HARFCODE_READ(harfcode_bidi_runs[run][3]);
    /* The explicit embeddings, overrides and isolates are passed over, as rule X9 passes over
       the boundary neutrals. */
    return found >= 11 && found != HARFCODE_AL && found != HARFCODE_NSM ? (uint8_t)HARFCODE_BN : found;
}

/* Which bracket `character` is: 1 + its pair's number for an opening one, the negative for a
   closing one, 0 for none. */
static int harfcode_bracket_of(uint32_t character)
{
    int pair;
    for (pair = 0; pair < HARFCODE_BRACKET_COUNT; ++pair) {
        if (character == ((uint32_t)HARFCODE_READ(harfcode_brackets[pair][0]) << 8 | HARFCODE_READ(harfcode_brackets[pair][1])))
            return pair + 1;
        if (character == ((uint32_t)HARFCODE_READ(harfcode_brackets[pair][2]) << 8 | HARFCODE_READ(harfcode_brackets[pair][3])))
            return -(pair + 1);
    }
    return 0;
}

/* The direction a class gives the neutrals and the brackets: numbers count as right-to-left. */
static uint8_t harfcode_strong(uint8_t bidi_class)
{
    return bidi_class == HARFCODE_L ? (uint8_t)HARFCODE_L
           : bidi_class == HARFCODE_R || bidi_class == HARFCODE_EN || bidi_class == HARFCODE_AN ? (uint8_t)HARFCODE_R
                                                                                              : (uint8_t)HARFCODE_ON;
}

typedef struct {
    uint8_t *levels; /* a byte a character */
    harfcode_bracket_entry *entries;
    size_t count; /* characters */
} harfcode_bidi;

#define HARFCODE_TYPE(at) (bidi->levels[at] & HARFCODE_CLASS_BITS)
#define HARFCODE_SET_TYPE(at, type) (bidi->levels[at] = (uint8_t)((bidi->levels[at] & ~HARFCODE_CLASS_BITS) | (type)))

/* The next character at or after `at` that rule X9 keeps, or the count. */
static size_t harfcode_kept(const harfcode_bidi *bidi, size_t at)
{
    while (at < bidi->count && HARFCODE_TYPE(at) == HARFCODE_BN)
        ++at;
    return at;
}

/* Rules W1 to W7 over the classes, the boundary neutrals passed over. */
static void harfcode_weak_types(harfcode_bidi *bidi)
{
    size_t at, next;
    uint8_t previous = HARFCODE_R, strong = HARFCODE_R;
    for (at = harfcode_kept(bidi, 0); at < bidi->count; at = harfcode_kept(bidi, at + 1)) {
        uint8_t type = HARFCODE_TYPE(at);
        if (type == HARFCODE_NSM) /* W1 */
            HARFCODE_SET_TYPE(at, type = previous);
        if (type == HARFCODE_L || type == HARFCODE_R || type == HARFCODE_AL)
            strong = type;
        else if (type == HARFCODE_EN && strong == HARFCODE_AL) /* W2 */
            HARFCODE_SET_TYPE(at, type = HARFCODE_AN);
        /* A mark after an Arabic letter is one too, for W2, before W3 makes both R. */
        previous = type;
        if (type == HARFCODE_AL) /* W3 */
            HARFCODE_SET_TYPE(at, HARFCODE_R);
    }
    previous = HARFCODE_ON;
    for (at = harfcode_kept(bidi, 0); at < bidi->count; at = next) { /* W4 */
        const uint8_t type = HARFCODE_TYPE(at);
        next = harfcode_kept(bidi, at + 1);
        if ((type == HARFCODE_ES || type == HARFCODE_CS) && next < bidi->count) {
            const uint8_t after = HARFCODE_TYPE(next);
            if (previous == HARFCODE_EN && after == HARFCODE_EN)
                HARFCODE_SET_TYPE(at, HARFCODE_EN);
            else if (type == HARFCODE_CS && previous == HARFCODE_AN && after == HARFCODE_AN)
                HARFCODE_SET_TYPE(at, HARFCODE_AN);
        }
        previous = HARFCODE_TYPE(at);
    }
    /* W5: a run of terminators beside a European number joins it. */
    previous = HARFCODE_ON;
    for (at = harfcode_kept(bidi, 0); at < bidi->count;) {
        size_t end = at;
        uint8_t after;
        if (HARFCODE_TYPE(at) != HARFCODE_ET) {
            previous = HARFCODE_TYPE(at);
            at = harfcode_kept(bidi, at + 1);
            continue;
        }
        while (end < bidi->count && HARFCODE_TYPE(end) == HARFCODE_ET)
            end = harfcode_kept(bidi, end + 1);
        after = end < bidi->count ? HARFCODE_TYPE(end) : HARFCODE_ON;
        if (previous == HARFCODE_EN || after == HARFCODE_EN)
            for (; at < end; at = harfcode_kept(bidi, at + 1))
                HARFCODE_SET_TYPE(at, HARFCODE_EN);
        at = end;
        previous = HARFCODE_ET;
    }
    strong = HARFCODE_R;
    for (at = harfcode_kept(bidi, 0); at < bidi->count; at = harfcode_kept(bidi, at + 1)) {
        const uint8_t type = HARFCODE_TYPE(at);
        if (type == HARFCODE_ES || type == HARFCODE_CS || type == HARFCODE_ET) /* W6 */
            HARFCODE_SET_TYPE(at, HARFCODE_ON);
        else if (type == HARFCODE_L || type == HARFCODE_R)
            strong = type;
        else if (type == HARFCODE_EN && strong == HARFCODE_L) /* W7 */
            HARFCODE_SET_TYPE(at, HARFCODE_L);
    }
}

/* Rule BD16: pairs the brackets, each opening one with an entry, in the order they open; marks
   in each entry the directions of the strong classes between the pair. */
static void harfcode_pair_brackets(harfcode_bidi *bidi, const unsigned char *text, size_t length)
{
    size_t at = 0, index = 0, entries = 0, top = HARFCODE_NONE;
    uint32_t character = 0;
    for (; at < length; ++index) {
        const uint8_t type = HARFCODE_TYPE(index);
        const uint8_t strong = harfcode_strong(type);
        at += harfcode_decode(text, length, at, &character);
        if (type == HARFCODE_ON) {
            const int bracket = harfcode_bracket_of(character);
            if (bracket > 0) {
                harfcode_bracket_entry *entry = &bidi->entries[entries];
                entry->opening = index;
                entry->closing = HARFCODE_NONE;
                entry->below = top;
                entry->bracket = (uint8_t)bracket;
                entry->strong = 0;
                top = entries++;
            } else if (bracket < 0) {
                size_t open = top;
                uint8_t above = 0;
                while (open != HARFCODE_NONE && bidi->entries[open].bracket != (uint8_t)-bracket) {
                    above |= bidi->entries[open].strong;
                    open = bidi->entries[open].below;
                }
                if (open != HARFCODE_NONE) {
                    /* The brackets still open above it never pair: what stands after them stands
                       within the pair, and within the pairs around it. */
                    bidi->entries[open].strong |= above;
                    bidi->entries[open].closing = index;
                    top = bidi->entries[open].below;
                    if (top != HARFCODE_NONE)
                        bidi->entries[top].strong |= bidi->entries[open].strong;
                }
            }
        } else if (strong != HARFCODE_ON && top != HARFCODE_NONE) {
            bidi->entries[top].strong |= strong == HARFCODE_L ? HARFCODE_SEEN_L : HARFCODE_SEEN_R;
        }
    }
}

/* A bracket takes `type`, and so do the marks that follow it. */
static void harfcode_set_bracket(harfcode_bidi *bidi, size_t at, uint8_t type)
{
    HARFCODE_SET_TYPE(at, type);
    for (++at; at < bidi->count && (HARFCODE_TYPE(at) == HARFCODE_BN || (bidi->levels[at] & HARFCODE_WAS_MARK)); ++at)
        if (bidi->levels[at] & HARFCODE_WAS_MARK)
            HARFCODE_SET_TYPE(at, type);
}

/* Rule N0, pair by pair in the order they open: a pair with a right-to-left class within is
   right-to-left; one with only left-to-right classes within takes the direction before it. */
static void harfcode_resolve_brackets(harfcode_bidi *bidi, size_t entries)
{
    size_t entry, at = 0;
    uint8_t before = HARFCODE_R;
    for (entry = 0; entry < entries; ++entry) {
        const harfcode_bracket_entry *pair = &bidi->entries[entry];
        uint8_t type;
        if (pair->closing == HARFCODE_NONE)
            continue;
        for (; at < pair->opening; ++at)
            if (harfcode_strong(HARFCODE_TYPE(at)) != HARFCODE_ON)
                before = harfcode_strong(HARFCODE_TYPE(at));
        if (pair->strong & HARFCODE_SEEN_R)
            type = HARFCODE_R;
        else if (pair->strong & HARFCODE_SEEN_L)
            type = before == HARFCODE_L ? (uint8_t)HARFCODE_L : (uint8_t)HARFCODE_R;
        else
            continue;
        harfcode_set_bracket(bidi, pair->opening, type);
        harfcode_set_bracket(bidi, pair->closing, type);
    }
}

/* Rules N1 and N2, then I1 and I2: neutrals between two of one direction take it, the others the
   paragraph's; left-to-right letters and numbers stand a level up. A boundary neutral takes the
   level before it. */
static void harfcode_resolve_levels(harfcode_bidi *bidi)
{
    size_t at, neutrals = HARFCODE_NONE;
    uint8_t before = HARFCODE_R, two = 0;
    for (at = 0; at <= bidi->count; ++at) {
        const uint8_t type = at < bidi->count ? HARFCODE_TYPE(at) : (uint8_t)HARFCODE_R;
        const uint8_t strong = harfcode_strong(type);
        if (type == HARFCODE_BN)
            continue;
        if (strong == HARFCODE_ON) {
            if (neutrals == HARFCODE_NONE)
                neutrals = at;
            continue;
        }
        for (; neutrals != HARFCODE_NONE && neutrals < at; ++neutrals)
            if (HARFCODE_TYPE(neutrals) != HARFCODE_BN)
                HARFCODE_SET_TYPE(neutrals, before == strong ? strong : (uint8_t)HARFCODE_R);
        neutrals = HARFCODE_NONE;
        before = strong;
    }
    for (at = 0; at < bidi->count; ++at) {
        const uint8_t type = HARFCODE_TYPE(at);
        if (type != HARFCODE_BN)
            two = type != HARFCODE_R;
        bidi->levels[at] = (uint8_t)((bidi->levels[at] & ~HARFCODE_LEVEL_TWO) | (two ? HARFCODE_LEVEL_TWO : 0));
    }
}

/* Rule L1: segment separators, and the blanks and boundary neutrals before them, are at the
   paragraph's level. Those at the end of the line are already: rule N1 sees the right-to-left
   paragraph's direction after them. */
static void harfcode_reset_blanks(harfcode_bidi *bidi, const unsigned char *text, size_t length)
{
    size_t at = 0, index = 0, blanks = HARFCODE_NONE;
    uint32_t character = 0;
    for (; at < length; ++index) {
        uint8_t type;
        at += harfcode_decode(text, length, at, &character);
        type = harfcode_bidi_class(character);
        if (type == HARFCODE_WS || type == HARFCODE_BN) {
            if (blanks == HARFCODE_NONE)
                blanks = index;
            continue;
        }
        if (type == HARFCODE_S || type == HARFCODE_B)
            for (blanks = blanks == HARFCODE_NONE ? index : blanks; blanks <= index; ++blanks)
                bidi->levels[blanks] &= (uint8_t)~HARFCODE_LEVEL_TWO;
        blanks = HARFCODE_NONE;
    }
}

/* Lays out a valid text in visual order in `scratch`: each character's level and slot. Returns
   the characters, or HARFCODE_NO_SCRATCH. */
static size_t harfcode_visual_layout(harfcode_bidi *bidi, const unsigned char *text, size_t length, void *scratch,
                                     size_t scratch_size)
{
    size_t at = 0, index = 0, openings = 0, offset, waiting = 0;
    uint32_t character = 0;
    harfcode_selection selection;
    for (; at < length; ++index) {
        at += harfcode_decode(text, length, at, &character);
        openings += harfcode_bidi_class(character) == HARFCODE_ON && harfcode_bracket_of(character) > 0;
    }
    /* The entries first, aligned for their numbers, then a byte a character. */
    offset = (size_t)(-(uintptr_t)scratch % sizeof(size_t));
    if (scratch_size < offset || (scratch_size - offset) / sizeof(harfcode_bracket_entry) < openings
        || scratch_size - offset - openings * sizeof(harfcode_bracket_entry) < index)
        return HARFCODE_NO_SCRATCH;
    bidi->entries = (harfcode_bracket_entry *)(void *)((unsigned char *)scratch + offset);
    bidi->levels = (uint8_t *)(void *)(bidi->entries + openings);
    bidi->count = index;
    for (at = 0, index = 0; at < length; ++index) {
        uint8_t type;
        at += harfcode_decode(text, length, at, &character);
        type = harfcode_bidi_class(character);
        bidi->levels[index] = (uint8_t)(type | (type == HARFCODE_NSM ? HARFCODE_WAS_MARK : 0));
    }
    harfcode_weak_types(bidi);
    harfcode_pair_brackets(bidi, text, length);
    harfcode_resolve_brackets(bidi, openings);
    harfcode_resolve_levels(bidi);
    harfcode_reset_blanks(bidi, text, length);
    /* Each character's slot beside its level, chosen in typing order. */
    harfcode_start(&selection);
    for (at = 0, index = 0; at <= length; ++index) {
        uint8_t next_class = HARFCODE_EDGE, slot;
        if (at < length) {
            at += harfcode_decode(text, length, at, &character);
            next_class = harfcode_class_of(character);
            bidi->levels[index] &= HARFCODE_LEVEL_TWO;
        } else {
            ++at;
        }
        if (next_class == HARFCODE_TRANSPARENT)
            continue;
        slot = harfcode_pass(&selection, next_class);
        if (slot != 0)
            bidi->levels[waiting] |= slot;
        waiting = index;
    }
    return bidi->count;
}

/* The slots of a laid-out text in visual order, one by one: the line from its end to its
   start, each run at level two left to right within. */
typedef struct {
    const harfcode_bidi *bidi;
    size_t next;    /* the characters not yet passed: the last one + 1 */
    size_t run_end; /* within a run at level two: where it ends; otherwise HARFCODE_NONE */
    size_t run_at;
} harfcode_visual;

static uint8_t harfcode_visual_slot(harfcode_visual *visual)
{
    const uint8_t *levels = visual->bidi->levels;
    for (;;) {
        if (visual->run_end != HARFCODE_NONE) {
            if (visual->run_at < visual->run_end) {
                const uint8_t slot = (uint8_t)(levels[visual->run_at++] & ~HARFCODE_LEVEL_TWO);
                if (slot)
                    return slot;
                continue;
            }
            visual->run_end = HARFCODE_NONE;
        }
        if (visual->next == 0)
            return 0;
        if (levels[visual->next - 1] & HARFCODE_LEVEL_TWO) {
            visual->run_end = visual->next;
            while (visual->next > 0 && (levels[visual->next - 1] & HARFCODE_LEVEL_TWO))
                --visual->next;
            visual->run_at = visual->next;
        } else {
            const uint8_t slot = levels[--visual->next];
            if (slot)
                return slot;
        }
    }
}

/* The glyphs of a valid text in `order`, one by one. */
typedef struct {
    harfcode_order order;
    harfcode_glyphs typing;
    harfcode_bidi bidi;
    harfcode_visual visual;
} harfcode_ordered;

/* Starts the glyphs of a valid text in `order`: HARFCODE_NO_SCRATCH, or 0. */
static size_t harfcode_ordered_start(harfcode_ordered *glyphs, const char *text, size_t length, harfcode_order order,
                                     void *scratch, size_t scratch_size)
{
    glyphs->order = order;
    if (order != HARFCODE_VISUAL) {
        harfcode_glyphs_start(&glyphs->typing, text, length);
        return 0;
    }
    if (harfcode_visual_layout(&glyphs->bidi, (const unsigned char *)text, length, scratch, scratch_size)
        == HARFCODE_NO_SCRATCH)
        return HARFCODE_NO_SCRATCH;
    glyphs->visual.bidi = &glyphs->bidi;
    glyphs->visual.next = glyphs->bidi.count;
    glyphs->visual.run_end = HARFCODE_NONE;
    glyphs->visual.run_at = 0;
    return 0;
}

static uint8_t harfcode_ordered_slot(harfcode_ordered *glyphs)
{
    return glyphs->order == HARFCODE_VISUAL ? harfcode_visual_slot(&glyphs->visual) : harfcode_next_slot(&glyphs->typing);
}

size_t harfcode_codes(const char *text, size_t length, harfcode_order order, uint8_t *codes, size_t capacity,
                      void *scratch, size_t scratch_size)
{
    harfcode_ordered glyphs;
    size_t count = 0, total = 0;
    uint8_t slot;
    if (!harfcode_valid((const unsigned char *)text, length))
        return HARFCODE_INVALID_TEXT;
    /* Reverse order writes the last glyph first: it needs the count before it writes. */
    if (order == HARFCODE_REVERSE)
        total = harfcode_glyph_count(text, length);
    if (harfcode_ordered_start(&glyphs, text, length, order, scratch, scratch_size) == HARFCODE_NO_SCRATCH)
        return HARFCODE_NO_SCRATCH;
    while ((slot = harfcode_ordered_slot(&glyphs)) != 0) {
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

size_t harfcode_forms(const char *text, size_t length, harfcode_order order, char *utf8, size_t capacity,
                      void *scratch, size_t scratch_size)
{
    harfcode_ordered glyphs;
    size_t total = 0, done = 0, written = 0, size, i;
    char bytes[3];
    uint8_t slot;
    if (!harfcode_valid((const unsigned char *)text, length))
        return HARFCODE_INVALID_TEXT;
    if (order == HARFCODE_REVERSE) {
        harfcode_glyphs_start(&glyphs.typing, text, length);
        while ((slot = harfcode_next_slot(&glyphs.typing)) != 0)
            total += harfcode_form_bytes(slot, bytes);
    }
    /* A glyph is written where it ends within capacity - 1 bytes: in any order those glyphs make
       a prefix of the line. */
    if (harfcode_ordered_start(&glyphs, text, length, order, scratch, scratch_size) == HARFCODE_NO_SCRATCH)
        return HARFCODE_NO_SCRATCH;
    while ((slot = harfcode_ordered_slot(&glyphs)) != 0) {
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
