"""The a-z spelling of Latin letters, as Tagwright's transliteration gives it, for the
benchmark scripts that judge Tagwright's words against a page's text."""

import unicodedata

# Letters that the transliteration spells out rather than strips of their marks.
SPELLED_OUT = {"ä": "ae", "ö": "oe", "ü": "ue", "ß": "ss", "æ": "ae", "œ": "oe",
               "ø": "o", "ł": "l", "þ": "th", "ð": "d", "đ": "d", "ħ": "h", "ŧ": "t",
               "ŋ": "n", "ĸ": "k", "ƒ": "f", "ƶ": "z"}


def transliterate(letter):
    """The a-z spelling of a lower-case Latin letter, or "" when it is no such letter."""
    if "a" <= letter <= "z":
        return letter
    if letter in SPELLED_OUT:
        return SPELLED_OUT[letter]
    if 0xC0 <= ord(letter) <= 0x24F and letter.isalpha():  # Latin-1, Extended-A and -B
        return "".join(c for c in unicodedata.normalize("NFKD", letter) if "a" <= c <= "z")
    return ""
