#ifndef HARFCODE_SHAPER_H
#define HARFCODE_SHAPER_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Visual order is the Unicode bidirectional algorithm for one right-to-left paragraph, exact for
   text of ASCII and Latin-1, Arabic and Arabic Supplement, the Arabic presentation forms,
   General Punctuation, and every other character that has a glyph on the display. Beyond those
   every character is taken for a left-to-right letter; the explicit embeddings, overrides and
   isolates (U+202A to U+202E, U+2066 to U+2069) are passed over like the boundary neutrals; the
   paragraph separators (LF, CR, U+001C to U+001E, U+0085, U+2029) end no paragraph: they stand at
   the paragraph's level as the segment separators do. Whatever the text holds, the codes are
   exactly those of typing order, each once. */
typedef enum { HARFCODE_TYPING, HARFCODE_REVERSE, HARFCODE_VISUAL } harfcode_order;

#define HARFCODE_INVALID_TEXT ((size_t)-1) /* the text is not UTF-8 (or the width is 0) */
#define HARFCODE_NO_SCRATCH ((size_t)-2)   /* visual order was asked with a scratch too small */
/* Bytes of scratch that visual order needs for `length` bytes of text: a byte a character, and a
   size_t (two bytes on AVR) for each bracket open at once, enough for a text of nothing but
   opening brackets. A smaller scratch does for a text with fewer brackets open at once:
   HARFCODE_NO_SCRATCH says when it does not. Brackets pair exactly however many are open. */
#define HARFCODE_SCRATCH_SIZE(length) ((size_t)(length) * (1 + sizeof(size_t)) + sizeof(size_t))
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
#define HARFCODE_STEPPING 0x80u   /* in a run: each character takes the class after the one before */

/* The bytes of a character that starts with `lead` in valid UTF-8. */
static uint8_t harfcode_size(uint8_t lead)
{
    return lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
}

/* The next character of `text` from byte `at` into *character; the bytes it takes, or 0 where
   the text is not UTF-8 there (an overlong form, a surrogate, beyond U+10FFFF, cut short). */
static uint8_t harfcode_decode(const unsigned char *text, size_t length, size_t at, uint32_t *character)
{
    const unsigned char *bytes = text + at;
    const uint8_t lead = bytes[0], size = harfcode_size(lead);
    uint8_t i, plane = 0;
    /* Within the plane, in 16-bit arithmetic, which a small chip does fast; the bits that leave
       it make the plane. */
    uint16_t value = lead;
    if (size > 1) {
        if (lead < 0xC2 || lead > 0xF4 || length - at < size)
            return 0;
        value &= 0x7Fu >> size;
        for (i = 1; i < size; ++i) {
            if ((bytes[i] & 0xC0u) != 0x80u)
                return 0;
            plane = (uint8_t)(value >> 10);
            value = (uint16_t)(value << 6 | (bytes[i] & 0x3Fu));
        }
        /* The shortest form only, no surrogate, none beyond U+10FFFF. */
        if ((size == 3 && (value < 0x800u || (value >= 0xD800u && value <= 0xDFFFu)))
            || (size == 4 && (plane == 0 || plane > 16)))
            return 0;
    }
    *character = (uint32_t)plane << 16 | value;
    return size;
}

/* The characters of the text, or HARFCODE_INVALID_TEXT where it is not UTF-8. */
static size_t harfcode_characters(const unsigned char *text, size_t length)
{
    size_t at = 0, count = 0;
    uint8_t size;
    uint32_t character;
    for (; at < length; at += size, ++count)
        if ((size = harfcode_decode(text, length, at, &character)) == 0)
            return HARFCODE_INVALID_TEXT;
    return count;
}

/* The row of `runs` that holds `character`, or `count` where none does: `count` rows of four
   bytes sorted by their first character (high byte, low byte), then how many characters follow
   it. The search looks first at *hint, the row found last, which the next character of a word
   mostly shares; it leaves there the row it finds. */
static uint8_t harfcode_find_run(const uint8_t *runs, uint8_t count, uint16_t character, uint8_t *hint)
{
    uint8_t low = 0, high = count, middle = *hint;
    while (low < high) {
        const uint8_t *row = runs + middle * 4;
        const uint16_t start = (uint16_t)(HARFCODE_READ(row[0]) << 8 | HARFCODE_READ(row[1]));
        if (character < start)
            high = middle;
        else if ((unsigned)(character - start) > HARFCODE_READ(row[2]))
            low = middle + 1;
        else
            return *hint = middle;
        middle = (low + high) / 2;
    }
    return count;
}

/* Whether `character` is a mark: a scan of the marks' runs up to it. */
static uint8_t harfcode_is_mark(uint32_t character)
{
    uint32_t start = 0, gap;
    unsigned at = 0;
    uint8_t byte, last;
    while (at < HARFCODE_MARK_BYTES) {
        byte = HARFCODE_READ(harfcode_marks[at++]);
        last = byte >> 4 & 7u;
        gap = byte & 0x0Fu;
        while (byte & 0x80u) {
            byte = HARFCODE_READ(harfcode_marks[at++]);
            gap = gap << 7 | (byte & 0x7Fu);
        }
        if (last == 7)
            last = HARFCODE_READ(harfcode_marks[at++]);
        if (character < (start += gap))
            return 0;
        if (character - start <= last)
            return 1;
        start += last + 1u;
    }
    return 0;
}

/* The class of `character`; *hint as harfcode_find_run has it. */
static uint8_t harfcode_class_of(uint32_t character, uint8_t *hint)
{
    const uint16_t low = (uint16_t)character;
    const uint8_t *row;
    uint8_t run, first;
    if (character > 0xFFFFu
        || (run = harfcode_find_run(harfcode_class_runs[0], HARFCODE_CLASS_RUN_COUNT, low, hint)) == HARFCODE_CLASS_RUN_COUNT)
        return harfcode_is_mark(character) ? (uint8_t)HARFCODE_TRANSPARENT : (uint8_t)HARFCODE_NO_VALUE;
    row = harfcode_class_runs[run];
    first = HARFCODE_READ(row[3]);
    if (!(first & HARFCODE_STEPPING))
        return first;
    /* A run is at most 256 characters long. */
    return (uint8_t)((first & ~HARFCODE_STEPPING) + (uint8_t)(low - HARFCODE_READ(row[1])));
}

/* Byte `column` of the row of a class: its flags (0), or its slot in a form (1 to 4). */
static uint8_t harfcode_class_byte(uint8_t class_index, uint8_t column)
{
    if (class_index < HARFCODE_FIRST_SINGLE_FORM)
        return HARFCODE_READ(harfcode_classes[class_index][column]);
    return HARFCODE_READ(harfcode_single_form_classes[class_index - HARFCODE_FIRST_SINGLE_FORM][column ? 1 : 0]);
}

/* Slot selection, character by character: a letter's slot is known once the next character
   that is not a mark is. A joining flag is kept or changed by each neighbour as
   flag = (flag & keeps) | sets. */
typedef struct {
    uint8_t previous_joins;
    uint8_t next_joins;
    uint8_t previous_flags; /* the joining flags of the last letter whose slot is known */
    uint8_t waiting;        /* the class of the letter whose slot waits, or HARFCODE_EDGE */
    uint8_t waiting_flags;
} harfcode_selection;

static void harfcode_start(harfcode_selection *selection)
{
    selection->previous_joins = 0;
    selection->next_joins = 0;
    selection->previous_flags = selection->waiting_flags = HARFCODE_READ(harfcode_classes[HARFCODE_EDGE][0]);
    selection->waiting = HARFCODE_EDGE;
}

/* Passes the character of class `next` (HARFCODE_EDGE at the end of the text): returns the
   slot of the letter that waited for it, or 0 where none waited or it has no glyph. */
static uint8_t harfcode_pass(harfcode_selection *selection, uint8_t next)
{
    const uint8_t before = selection->previous_flags, after = harfcode_class_byte(next, 0);
    uint8_t slot = 0;
    if (selection->waiting != HARFCODE_EDGE) {
        selection->previous_joins = (uint8_t)(((selection->previous_joins && (before & HARFCODE_KEEPS_PREVIOUS))
                                               || (before & HARFCODE_SETS_PREVIOUS)) ? 1 : 0);
        selection->next_joins = (uint8_t)(((selection->next_joins && (after & HARFCODE_KEEPS_NEXT))
                                           || (after & HARFCODE_SETS_NEXT)) ? 1 : 0);
        slot = harfcode_class_byte(selection->waiting, (uint8_t)(1u + selection->previous_joins * 2u + selection->next_joins));
        selection->previous_flags = selection->waiting_flags;
    }
    selection->waiting = next;
    selection->waiting_flags = after;
    return slot;
}

/* The glyphs of a valid text one by one, in typing order. */
typedef struct {
    const unsigned char *text;
    size_t length;
    size_t at;
    uint8_t ended;
    uint8_t hint;
    harfcode_selection selection;
} harfcode_glyphs;

static void harfcode_glyphs_start(harfcode_glyphs *glyphs, const char *text, size_t length)
{
    glyphs->text = (const unsigned char *)text;
    glyphs->length = length;
    glyphs->at = 0;
    glyphs->ended = 0;
    glyphs->hint = 0;
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
            if ((next_class = harfcode_class_of(character, &glyphs->hint)) == HARFCODE_TRANSPARENT)
                continue;
        } else {
            glyphs->ended = 1;
        }
        if ((slot = harfcode_pass(&glyphs->selection, next_class)) != 0)
            return slot;
    }
    return 0;
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
/* Paired brackets between rules BD16 and N0: an opening one, plus the strong directions within
   its pair, and a closing one. */
#define HARFCODE_OPENING 20u
#define HARFCODE_CLOSING 24u
#define HARFCODE_SEEN_L 1u
#define HARFCODE_SEEN_R 2u
/* A character's byte of scratch: its class, what it was before the rules changed its class (its
   kind, which the bidirectional table gives with the class), and whether its level is two (one
   otherwise); at the end its slot and its level. */
#define HARFCODE_CLASS_BITS 0x1Fu
#define HARFCODE_KIND_BITS 0x60u
#define HARFCODE_WAS_BLANK 0x40u     /* whitespace (WS) */
#define HARFCODE_WAS_SEPARATOR 0x60u /* a segment or paragraph separator (S, B) */
#define HARFCODE_LEVEL_TWO 0x80u
/* While brackets pair, an opening bracket still open: this bit, the strong directions after it
   (HARFCODE_SEEN_L and _R, five bits up) and which bracket it is. */
#define HARFCODE_OPEN 0x80u
#define HARFCODE_NONE ((size_t)-1)

static uint8_t harfcode_bidi_class(uint32_t character, uint8_t *hint)
{
    const uint8_t run = character > 0xFFFFu ? HARFCODE_BIDI_RUN_COUNT
                                             : harfcode_find_run(harfcode_bidi_runs[0], HARFCODE_BIDI_RUN_COUNT, (uint16_t)character, hint);
    return run == HARFCODE_BIDI_RUN_COUNT ? (uint8_t)HARFCODE_L : HARFCODE_READ(harfcode_bidi_runs[run][3]);
}

/* Which bracket `character` is: 1 + its pair's number, plus HARFCODE_CLOSING_BRACKET for a
   closing one; 0 for none. */
#define HARFCODE_CLOSING_BRACKET 0x80u
static uint8_t harfcode_bracket_of(uint32_t character)
{
    uint8_t pair;
    for (pair = 0; character <= 0xFFFFu && pair < HARFCODE_BRACKET_COUNT; ++pair) {
        const uint8_t *row = harfcode_brackets[pair];
        if ((uint16_t)character == (uint16_t)(HARFCODE_READ(row[0]) << 8 | HARFCODE_READ(row[1])))
            return (uint8_t)(pair + 1);
        if ((uint16_t)character == (uint16_t)(HARFCODE_READ(row[2]) << 8 | HARFCODE_READ(row[3])))
            return (uint8_t)((pair + 1) | HARFCODE_CLOSING_BRACKET);
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
    size_t *stack;   /* where the brackets open at once stand */
    size_t room;     /* how many the stack holds */
    size_t count;    /* characters */
} harfcode_bidi;

#define HARFCODE_TYPE(at) (levels[at] & HARFCODE_CLASS_BITS)
#define HARFCODE_SET_TYPE(at, type) (levels[at] = (uint8_t)((levels[at] & ~HARFCODE_CLASS_BITS) | (type)))

/* The next character at or after `at` that rule X9 keeps, or the count. */
static size_t harfcode_kept(const uint8_t *levels, size_t count, size_t at)
{
    while (at < count && HARFCODE_TYPE(at) == HARFCODE_BN)
        ++at;
    return at;
}

/* Each character's class and kind, and rules W1 to W3, the boundary neutrals passed over. */
static void harfcode_classify(harfcode_bidi *bidi, const unsigned char *text, size_t length)
{
    uint8_t *const levels = bidi->levels;
    size_t at = 0, index = 0;
    uint32_t character = 0;
    uint8_t previous = HARFCODE_R, strong = HARFCODE_R;
    uint8_t hint = 0;
    for (; at < length; ++index) {
        uint8_t type, kind;
        at += harfcode_decode(text, length, at, &character);
        kind = harfcode_bidi_class(character, &hint);
        type = kind & HARFCODE_CLASS_BITS;
        kind &= HARFCODE_KIND_BITS;
        if (type != HARFCODE_BN) {
            if (type == HARFCODE_NSM) /* W1 */
                type = previous;
            if (type == HARFCODE_L || type == HARFCODE_R || type == HARFCODE_AL)
                strong = type;
            else if (type == HARFCODE_EN && strong == HARFCODE_AL) /* W2 */
                type = HARFCODE_AN;
            /* A mark after an Arabic letter is one too, for W2, before W3 makes both R. */
            previous = type;
            if (type == HARFCODE_AL) /* W3 */
                type = HARFCODE_R;
        }
        levels[index] = (uint8_t)(type | kind);
    }
}

/* Rules W4 and W5 in one pass over the classes, the boundary neutrals passed over: W5 sees the
   classes W4 leaves, and W4 none that W5 changes. */
static void harfcode_weak_types(harfcode_bidi *bidi)
{
    uint8_t *const levels = bidi->levels;
    const size_t count = bidi->count;
    size_t at, next, terminators = HARFCODE_NONE;
    uint8_t previous = HARFCODE_ON, before = HARFCODE_ON;
    for (at = harfcode_kept(levels, count, 0); at < count; at = next) {
        uint8_t type = HARFCODE_TYPE(at);
        next = harfcode_kept(levels, count, at + 1);
        if ((type == HARFCODE_ES || type == HARFCODE_CS) && next < count) { /* W4 */
            const uint8_t after = HARFCODE_TYPE(next);
            if (previous == HARFCODE_EN && after == HARFCODE_EN)
                HARFCODE_SET_TYPE(at, type = HARFCODE_EN);
            else if (type == HARFCODE_CS && previous == HARFCODE_AN && after == HARFCODE_AN)
                HARFCODE_SET_TYPE(at, type = HARFCODE_AN);
        }
        if (type == HARFCODE_ET) { /* W5: a run of terminators beside a European number joins it */
            if (terminators == HARFCODE_NONE)
                terminators = at, before = previous;
            if (before == HARFCODE_EN || (next < count && HARFCODE_TYPE(next) == HARFCODE_EN))
                for (; terminators <= at; terminators = harfcode_kept(levels, count, terminators + 1))
                    HARFCODE_SET_TYPE(terminators, HARFCODE_EN);
        } else {
            terminators = HARFCODE_NONE;
        }
        previous = type;
    }
}

/* Rules W6 and W7, which leave the classes that pairing sees; then rule BD16: pairs the
   brackets as they close. While a bracket is open its byte says so (see
   HARFCODE_OPEN) and the stack holds where it stands. A closing bracket pairs with the nearest
   open one of its kind; those open above that one never pair, and what stands after them stands
   within the pair. How many of each kind are open says at once whether a closing bracket pairs,
   so that each bracket is pushed and popped once. Returns 0, or HARFCODE_NO_SCRATCH where more
   brackets are open at once than the scratch holds. */
static size_t harfcode_pair_brackets(harfcode_bidi *bidi, const unsigned char *text, size_t length)
{
    uint8_t *const levels = bidi->levels;
    size_t *const stack = bidi->stack;
    size_t at = 0, index = 0, top = 0, open[HARFCODE_BRACKET_COUNT];
    uint32_t character = 0;
    uint8_t strong = HARFCODE_R;
    for (; at < HARFCODE_BRACKET_COUNT; ++at)
        open[at] = 0;
    for (at = 0; at < length; ++index) {
        const uint8_t old = levels[index] & HARFCODE_CLASS_BITS;
        uint8_t type = old, direction;
        uint8_t bracket = 0;
        if (type == HARFCODE_ES || type == HARFCODE_ET || type == HARFCODE_CS) /* W6 */
            type = HARFCODE_ON;
        else if (type == HARFCODE_L || type == HARFCODE_R)
            strong = type;
        else if (type == HARFCODE_EN && strong == HARFCODE_L) /* W7 */
            type = HARFCODE_L;
        if (type != old)
            levels[index] ^= (uint8_t)(old ^ type);
        direction = harfcode_strong(type);
        if (type == HARFCODE_ON && harfcode_decode(text, length, at, &character))
            bracket = harfcode_bracket_of(character);
        at += harfcode_size(text[at]);
        if (bracket != 0 && !(bracket & HARFCODE_CLOSING_BRACKET)) {
            if (top == bidi->room)
                return HARFCODE_NO_SCRATCH;
            stack[top++] = index;
            levels[index] = (uint8_t)(HARFCODE_OPEN | bracket);
            ++open[bracket - 1];
        } else if (bracket != 0 && open[(bracket & HARFCODE_CLASS_BITS) - 1] > 0) {
            uint8_t seen = 0, kind;
            size_t opening;
            do {
                opening = stack[--top];
                seen |= levels[opening] >> 5 & 3u;
                kind = levels[opening] & HARFCODE_CLASS_BITS;
                --open[kind - 1];
                levels[opening] = HARFCODE_ON;
            } while (kind != (bracket & HARFCODE_CLASS_BITS));
            levels[opening] = (uint8_t)(HARFCODE_OPENING + seen);
            levels[index] = HARFCODE_CLOSING;
            if (top > 0)
                levels[stack[top - 1]] |= (uint8_t)(seen << 5);
        } else if (direction != HARFCODE_ON && top > 0) {
            /* HARFCODE_SEEN_L or _R */
            levels[stack[top - 1]] |= (uint8_t)((direction + 1) << 5);
        }
    }
    while (top > 0) /* never closed */
        levels[stack[--top]] = HARFCODE_ON;
    return 0;
}

/* Rules N0 to N2 in one pass from the start. N0, pair by pair in the order they open, which is
   the order of the text: a pair with a right-to-left class within is right-to-left; one with only
   left-to-right classes within takes the direction before it, where the pairs that opened before
   are resolved already; the stack holds the pairs open. The marks after a bracket stay neutrals,
   as ICU leaves them (after an opening bracket N1 gives them its direction all the same). N1 and
   N2: neutrals between two of one direction take it, the others the paragraph's. Numbers count as
   right-to-left; the text's end as the paragraph's direction. */
static void harfcode_resolve_neutrals(harfcode_bidi *bidi)
{
    uint8_t *const levels = bidi->levels;
    const size_t count = bidi->count;
    size_t *const stack = bidi->stack;
    size_t at, top = 0, neutrals = HARFCODE_NONE;
    uint8_t before = HARFCODE_R, strong;
    for (at = 0; at <= count; ++at) {
        uint8_t type = at < count ? HARFCODE_TYPE(at) : (uint8_t)HARFCODE_R;
        if (type >= HARFCODE_OPENING && type <= HARFCODE_CLOSING) {
            if (type == HARFCODE_CLOSING) {
                /* The opening bracket's type: a pair left neutral holds no strong class, so N1 has
                   not reached its opening bracket yet. */
                type = (uint8_t)HARFCODE_TYPE(stack[--top]);
            } else {
                const uint8_t seen = (uint8_t)(type - HARFCODE_OPENING);
                type = (seen & HARFCODE_SEEN_R)   ? (uint8_t)HARFCODE_R
                       : (seen & HARFCODE_SEEN_L) ? (before == HARFCODE_L ? (uint8_t)HARFCODE_L : (uint8_t)HARFCODE_R)
                                                  : (uint8_t)HARFCODE_ON;
                stack[top++] = at;
            }
            HARFCODE_SET_TYPE(at, type);
        }
        if (type == HARFCODE_BN)
            continue;
        if ((strong = harfcode_strong(type)) == HARFCODE_ON) {
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
}

/* Rules I1 and I2: left-to-right letters and numbers stand a level up; a boundary neutral takes
   the level before it. Then rule L1: segment separators, and the blanks and boundary neutrals
   before them, are at the paragraph's level. Those at the end of the line are already: rule N1
   sees the right-to-left paragraph's direction after them. */
static void harfcode_resolve_levels(harfcode_bidi *bidi)
{
    uint8_t *const levels = bidi->levels;
    const size_t count = bidi->count;
    size_t at, blanks = HARFCODE_NONE;
    uint8_t two = 0;
    for (at = 0; at < count; ++at) {
        const uint8_t type = HARFCODE_TYPE(at), kind = levels[at] & HARFCODE_KIND_BITS;
        if (type != HARFCODE_BN)
            two = type != HARFCODE_R;
        if (two) /* the bit is clear until here */
            levels[at] |= HARFCODE_LEVEL_TWO;
        if (kind == HARFCODE_WAS_BLANK || type == HARFCODE_BN) {
            if (blanks == HARFCODE_NONE)
                blanks = at;
            continue;
        }
        if (kind == HARFCODE_WAS_SEPARATOR)
            for (blanks = blanks == HARFCODE_NONE ? at : blanks; blanks <= at; ++blanks)
                levels[blanks] &= (uint8_t)~HARFCODE_LEVEL_TWO;
        blanks = HARFCODE_NONE;
    }
}

/* Lays out a valid text of `count` characters in visual order in `scratch`: each character's
   level and slot. Returns HARFCODE_NO_SCRATCH, or 0. */
static size_t harfcode_visual_layout(harfcode_bidi *bidi, const unsigned char *text, size_t length, size_t count,
                                     void *scratch, size_t scratch_size)
{
    size_t at, index, waiting = 0, stack;
    uint8_t hint = 0;
    uint32_t character = 0;
    harfcode_selection selection;
    bidi->count = count;
    bidi->levels = (uint8_t *)scratch;
    if (count == 0)
        return 0;
    if (scratch_size < count)
        return HARFCODE_NO_SCRATCH;
    /* A byte a character, then the stack, aligned for its numbers. */
    stack = count + (size_t)((0 - ((uintptr_t)scratch + count)) % sizeof(size_t));
    bidi->room = scratch_size > stack ? (scratch_size - stack) / sizeof(size_t) : 0;
    bidi->stack = bidi->room ? (size_t *)(void *)(bidi->levels + stack) : NULL;
    harfcode_classify(bidi, text, length);
    harfcode_weak_types(bidi);
    if (harfcode_pair_brackets(bidi, text, length) == HARFCODE_NO_SCRATCH)
        return HARFCODE_NO_SCRATCH;
    harfcode_resolve_neutrals(bidi);
    harfcode_resolve_levels(bidi);
    /* Each character's slot beside its level, chosen in typing order. */
    harfcode_start(&selection);
    for (at = 0, index = 0; at <= length; ++index) {
        uint8_t next_class = HARFCODE_EDGE, slot;
        if (at < length) {
            at += harfcode_decode(text, length, at, &character);
            next_class = harfcode_class_of(character, &hint);
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
    return 0;
}

/* The slots of a laid-out text in visual order, one by one: the line from its end to its
   start, each run at level two left to right within. */
typedef struct {
    const uint8_t *levels;
    size_t next;    /* the characters not yet passed: the last one + 1 */
    size_t run_at;  /* within a run at level two, passed left to right: the next, and the end */
    size_t run_end;
} harfcode_visual;

static uint8_t harfcode_visual_slot(harfcode_visual *visual)
{
    const uint8_t *levels = visual->levels;
    for (;;) {
        uint8_t slot;
        if (visual->run_at < visual->run_end) {
            slot = levels[visual->run_at++];
        } else if (visual->next == 0) {
            return 0;
        } else if (levels[visual->next - 1] & HARFCODE_LEVEL_TWO) {
            visual->run_end = visual->next;
            while (visual->next > 0 && (levels[visual->next - 1] & HARFCODE_LEVEL_TWO))
                --visual->next;
            visual->run_at = visual->next;
            continue;
        } else {
            slot = levels[--visual->next];
        }
        if ((slot &= (uint8_t)~HARFCODE_LEVEL_TWO) != 0)
            return slot;
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
static size_t harfcode_ordered_start(harfcode_ordered *glyphs, const char *text, size_t length, size_t count,
                                     harfcode_order order, void *scratch, size_t scratch_size)
{
    glyphs->order = order;
    if (order != HARFCODE_VISUAL) {
        harfcode_glyphs_start(&glyphs->typing, text, length);
        return 0;
    }
    if (harfcode_visual_layout(&glyphs->bidi, (const unsigned char *)text, length, count, scratch, scratch_size)
        == HARFCODE_NO_SCRATCH)
        return HARFCODE_NO_SCRATCH;
    glyphs->visual.levels = glyphs->bidi.levels;
    glyphs->visual.next = glyphs->bidi.count;
    glyphs->visual.run_end = glyphs->visual.run_at = 0;
    return 0;
}
static uint8_t harfcode_ordered_slot(harfcode_ordered *glyphs)
{
    return glyphs->order == HARFCODE_VISUAL ? harfcode_visual_slot(&glyphs->visual) : harfcode_next_slot(&glyphs->typing);
}

/* The glyph of `slot` into `bytes`: its code, or where `forms` its presentation form in UTF-8
   (slot 1 as U+0020). Returns how many bytes. */
static uint8_t harfcode_glyph_bytes(uint8_t slot, uint8_t forms, uint8_t *bytes)
{
    uint16_t character;
    uint8_t run;
    if (!forms) {
        bytes[0] = HARFCODE_READ(harfcode_slot_codes[slot - 1]);
        return 1;
    }
    for (run = 0; run + 1 < HARFCODE_HIGH_BYTE_RUNS && HARFCODE_READ(harfcode_slot_high_bytes[run + 1][0]) <= slot; ++run) {
    }
    character = (uint16_t)(HARFCODE_READ(harfcode_slot_high_bytes[run][1]) << 8 | HARFCODE_READ(harfcode_slot_characters[slot - 1]));
    if (character < 0x80) {
        bytes[0] = (uint8_t)character;
        return 1;
    }
    if (character < 0x800) {
        bytes[0] = (uint8_t)(0xC0 | character >> 6);
        bytes[1] = (uint8_t)(0x80 | (character & 0x3F));
        return 2;
    }
    bytes[0] = (uint8_t)(0xE0 | character >> 12);
    bytes[1] = (uint8_t)(0x80 | (character >> 6 & 0x3F));
    bytes[2] = (uint8_t)(0x80 | (character & 0x3F));
    return 3;
}

/* Writes the glyphs of `text` in `order` into `out` as harfcode_glyph_bytes gives them, each
   glyph where it ends within `capacity` bytes, less one for the NUL that ends the forms: in any
   order those make a prefix of the line. Returns the bytes of the whole line, or an error. */
static size_t harfcode_write(const char *text, size_t length, harfcode_order order, uint8_t *out, size_t capacity,
                             void *scratch, size_t scratch_size, uint8_t forms)
{
    harfcode_ordered glyphs;
    const size_t count = harfcode_characters((const unsigned char *)text, length);
    const size_t room = forms && capacity > 0 ? capacity - 1 : capacity;
    size_t total = 0, done = 0, written = 0, start;
    uint8_t bytes[3], slot, size, i;
    if (count == HARFCODE_INVALID_TEXT)
        return HARFCODE_INVALID_TEXT;
    /* Reverse order writes the last glyph first: it needs the whole line's size before. */
    if (order == HARFCODE_REVERSE) {
        harfcode_glyphs_start(&glyphs.typing, text, length);
        while ((slot = harfcode_next_slot(&glyphs.typing)) != 0)
            total += harfcode_glyph_bytes(slot, forms, bytes);
    }
    if (harfcode_ordered_start(&glyphs, text, length, count, order, scratch, scratch_size) == HARFCODE_NO_SCRATCH)
        return HARFCODE_NO_SCRATCH;
    while ((slot = harfcode_ordered_slot(&glyphs)) != 0) {
        size = harfcode_glyph_bytes(slot, forms, bytes);
        done += size;
        start = order == HARFCODE_REVERSE ? total - done : done - size;
        if (start + size <= room) {
            for (i = 0; i < size; ++i)
                out[start + i] = bytes[i];
            if (start + size > written)
                written = start + size;
        }
    }
    if (forms && capacity > 0)
        out[written] = '\0';
    return done;
}

size_t harfcode_codes(const char *text, size_t length, harfcode_order order, uint8_t *codes, size_t capacity,
                      void *scratch, size_t scratch_size)
{
    return harfcode_write(text, length, order, codes, capacity, scratch, scratch_size, 0);
}

size_t harfcode_forms(const char *text, size_t length, harfcode_order order, char *utf8, size_t capacity,
                      void *scratch, size_t scratch_size)
{
    return harfcode_write(text, length, order, (uint8_t *)utf8, capacity, scratch, scratch_size, 1);
}

size_t harfcode_row(const char *text, size_t length, unsigned width, size_t *next)
{
    /* Rows break greedily at blanks, dropping the blanks (and the characters without a glyph
       among them) where they break; the blanks that open the text belong to its first word; a
       word longer than a row is cut every `width` glyphs; a character without a glyph stays
       with the glyph before it. */
    enum { OPENING, FIRST_WORD, GAP, NEXT_WORD, BROKEN } phase = OPENING;
    size_t at, gap_start = 0, word_start = 0, glyphs = 0; /* the row's, the gap's and the word's */
    uint8_t size;
    uint8_t hint = 0;
    if (width == 0)
        return HARFCODE_INVALID_TEXT;
    for (at = 0; at < length; at += size) {
        uint32_t character;
        uint8_t class_index;
        uint8_t blank, glyph;
        if ((size = harfcode_decode((const unsigned char *)text, length, at, &character)) == 0)
            return HARFCODE_INVALID_TEXT;
        class_index = harfcode_class_of(character, &hint);
        blank = text[at] == ' ';
        glyph = class_index != HARFCODE_TRANSPARENT && harfcode_class_byte(class_index, 1) != 0;
        if (phase == NEXT_WORD && blank) /* the word fits */
            phase = GAP, gap_start = at;
        if (phase <= FIRST_WORD) {
            /* A blank ends the first word once it has a glyph; until then it belongs to it. */
            if (!blank || phase == OPENING || glyphs == 0) {
                phase = blank ? OPENING : FIRST_WORD;
                if (glyph && glyphs++ == width) /* cut */
                    return *next = at;
                continue;
            }
            phase = GAP, gap_start = at;
        }
        if (phase == GAP) {
            if (blank && ++glyphs > width)
                phase = BROKEN;
            else if (!blank && glyph)
                phase = NEXT_WORD, word_start = at;
        }
        if (phase == NEXT_WORD && glyph && ++glyphs > width) {
            *next = word_start;
            return gap_start;
        }
        if (phase == BROKEN && !blank && glyph) {
            *next = at;
            return gap_start;
        }
    }
    /* The text ends: after a break with no glyph to follow, no more rows; otherwise the row goes
       to the end, with the blanks that close it when they fitted. */
    *next = length;
    return phase == BROKEN ? gap_start : length;
}

#ifdef __cplusplus
}
#endif

#endif /* HARFCODE_SHAPER_IMPLEMENTATION */
