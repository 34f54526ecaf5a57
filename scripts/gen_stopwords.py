#!/usr/bin/env python3
"""Writes data/stopwords/<language>.txt from the stopwords-iso package tarball.

Usage:
    tmp=$(mktemp -d) && (cd "$tmp" && npm pack stopwords-iso@1.1.0)
    scripts/gen_stopwords.py "$tmp/stopwords-iso-1.1.0.tgz"

Only the languages below are written. Each file holds one lower-case word per line, UTF-8,
sorted by code point. Entries that are not a single run of letters (contractions such as
"don't", abbreviations such as "z.b", numbers, punctuation, two-word phrases) are left out:
the analysis never sees them as one word. Latin words with accents or umlauts are written
twice, as given and in the program's transliteration ("für" and "fuer"), so that a word
matches however it was read.
"""

import json
import pathlib
import sys
import tarfile
import unicodedata

LANGUAGES = ["de", "en", "es", "fr", "it", "ja", "ko", "nl", "pt", "ru", "zh"]

# Letters that the transliteration spells out rather than strips of their marks.
SPELLED_OUT = {"ä": "ae", "ö": "oe", "ü": "ue", "ß": "ss", "æ": "ae", "œ": "oe",
               "ø": "o", "ł": "l", "þ": "th", "ð": "d", "đ": "d", "ı": "i"}


def transliterate(word):
    """The word in plain a-z, or None when it has letters outside the Latin alphabets."""
    out = []
    for letter in word:
        if letter in SPELLED_OUT:
            out.append(SPELLED_OUT[letter])
        elif ord(letter) < 0x250:  # Latin-1, Latin Extended-A and -B
            base = unicodedata.normalize("NFKD", letter)
            out.append("".join(c for c in base if not unicodedata.combining(c)))
        else:
            return None
    result = "".join(out)
    return result if result.isascii() and result.isalpha() else None


def words_of(entries):
    words = set()
    for entry in entries:
        word = entry.strip().lower()
        if not word.isalpha():
            continue
        words.add(word)
        plain = transliterate(word)
        if plain:
            words.add(plain)
    return sorted(words)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with tarfile.open(sys.argv[1]) as tarball:
        data = json.load(tarball.extractfile("package/stopwords-iso.json"))
    folder = pathlib.Path(__file__).resolve().parent.parent / "data" / "stopwords"
    for language in LANGUAGES:
        words = words_of(data[language])
        (folder / f"{language}.txt").write_text("".join(w + "\n" for w in words), encoding="utf-8")
        print(f"{language}: {len(words)} words")


if __name__ == "__main__":
    main()
