# The lines of the firmware test, one a line, from a fixed seed: for each entry of `plan` a line
# of that many characters of Persian text with digits, Latin and brackets, "cut" a line that
# only a cut in the middle of a character fits into a buffer of an even number of bytes, "crlf"
# a line ending in CR LF; then `random` lines of up to 60 characters of every kind, blanks and
# TABs among them, some empty.
#
# Usage: awk -v plan="64 256 cut crlf" -v random=100 -f firmware_lines.awk
function pick(pool, count) { return pool[int(rand() * count) + 1] }

# A word, a number, a Latin word or a bracketed word; and what follows it.
function token(  kind, size, text, i, digits) {
    kind = rand()
    size = 2 + int(rand() * 6)
    if (kind < 0.55) {
        for (i = 0; i < size; ++i)
            text = text pick(letters, letter_count) (i > 0 && i < size - 1 && rand() < 0.06 ? half_space : "")
    } else if (kind < 0.7) {
        digits = int(rand() * 3)
        for (i = 0; i < size - 1; ++i)
            text = text (digits == 0 ? pick(latin_digits, 10) : digits == 1 ? pick(arabic_digits, 10) : pick(persian_digits, 10))
    } else if (kind < 0.82) {
        for (i = 0; i < size - 1; ++i)
            text = text pick(capitals, capital_count)
    } else if (kind < 0.92) {
        i = int(rand() * bracket_count) + 1
        text = openings[i] pick(letters, letter_count) pick(letters, letter_count) closings[i]
    } else {
        text = pick(punctuation, punctuation_count)
    }
    kind = rand()
    return text (kind < 0.8 ? " " : kind < 0.9 ? "  " : kind < 0.95 ? "\t" : pick(punctuation, punctuation_count) " ")
}

# Exactly `count` characters of tokens: the characters are counted by their lead bytes.
function line(count,  text, characters, t, c, i) {
    text = ""
    characters = 0
    while (characters < count) {
        t = token()
        for (i = 1; i <= length(t) && characters <= count; ++i) {
            c = substr(t, i, 1)
            if (index(continuation, c) == 0 && ++characters > count)
                break
            text = text c
        }
    }
    return text
}

BEGIN {
    srand(20261208)
    letter_count = split("ا ب پ ت ث ج چ ح خ د ذ ر ز ژ س ش ص ض ط ظ ع غ ف ق ک گ ل م ن و ه ی آ ئ ؤ ة", letters, " ")
    split("0 1 2 3 4 5 6 7 8 9", latin_digits, " ")
    split("٠ ١ ٢ ٣ ٤ ٥ ٦ ٧ ٨ ٩", arabic_digits, " ")
    split("۰ ۱ ۲ ۳ ۴ ۵ ۶ ۷ ۸ ۹", persian_digits, " ")
    capital_count = split("A B C D E F G H I J K L M N O P Q R S T U V W X Y Z", capitals, " ")
    bracket_count = split("( [ { « ‹", openings, " ")
    split(") ] } » ›", closings, " ")
    punctuation_count = split(". , ! ? : ; - ، ؛ ؟ ٪ /", punctuation, " ")
    half_space = "\342\200\214"
    for (i = 128; i < 192; ++i)
        continuation = continuation sprintf("%c", i)

    entries = split(plan, planned, " ")
    for (entry = 1; entry <= entries; ++entry) {
        if (planned[entry] == "crlf") {
            printf "%s\r\n", line(40)
        } else if (planned[entry] == "cut") {
            # One byte, then characters of two bytes each: an even number of bytes falls within
            # a character.
            text = "A"
            for (i = 0; i < 300; ++i)
                text = text (i % 7 == 6 ? pick(persian_digits, 10) : pick(letters, letter_count))
            print text
        } else {
            print line(planned[entry])
        }
    }
    for (entry = 0; entry < random; ++entry) {
        kind = rand()
        if (kind < 0.04)
            print ""
        else if (kind < 0.08)
            print (rand() < 0.5 ? "   " : "\t \t")
        else
            print line(1 + int(rand() * 60))
    }
}
