#!/usr/bin/env python3
"""Builds the benchmark pages of bench/run.sh.

    make_inputs.py real    BYTES OUT [SOURCE...]  real HTML pages joined to about BYTES
    make_inputs.py oneline BYTES OUT [SOURCE...]  the same HTML minified onto one line
    make_inputs.py meta    COUNT OUT              one line of COUNT meta tags
    make_inputs.py fonts   COUNT OUT              one line of COUNT font tags with text
    make_inputs.py words   COUNT OUT              COUNT distinct words, each twice

SOURCE is an HTML file or a folder searched for *.htm, *.html and *.html.gz; the default is
/usr/share/doc. The sources are read in sorted path order and again from the start when
they hold less than BYTES, so the same sources always give the same page.
"""

import gzip
import os
import re
import sys

DEFAULT_SOURCE = "/usr/share/doc"

# Letters of the generated words. Without d, g, s and y no word ends in "ed", "ing", "ly" or
# a plural "s", so every word passes the filters and none merges with another.
WORD_LETTERS = "abcefhjknoprtuwz"


def html_files(sources):
    """The HTML files under the sources, in sorted path order."""
    found = []
    for source in sources:
        if os.path.isfile(source):
            found.append(source)
            continue
        for folder, _, names in os.walk(source):
            for name in names:
                lower = name.lower()
                if lower.endswith((".htm", ".html", ".html.gz", ".htm.gz")):
                    path = os.path.join(folder, name)
                    if os.path.isfile(path):
                        found.append(path)
    return sorted(found)


def read_html(path):
    try:
        if path.endswith(".gz"):
            with gzip.open(path, "rb") as stream:
                return stream.read()
        with open(path, "rb") as stream:
            return stream.read()
    except (OSError, EOFError):
        return b""


def real_chunks(sources):
    """The sources' contents, cycled without end; stops only when there is no HTML at all."""
    files = html_files(sources)
    while True:
        gave = False
        for path in files:
            data = read_html(path)
            if data:
                gave = True
                yield data
        if not gave:
            raise SystemExit("make_inputs.py: no HTML found in " + " ".join(sources))


def minify(data):
    # Every line end, with the indentation around it, becomes one blank, as a minifier would
    # leave it.
    return re.sub(rb"[ \t]*[\r\n]+[ \t]*", b" ", data)


def write_real(size, out, sources, one_line):
    written = 0
    with open(out, "wb") as stream:
        for data in real_chunks(sources):
            if one_line:
                data = minify(data)
            elif not data.endswith(b"\n"):
                data += b"\n"
            left = size - written
            if len(data) >= left:
                # Cut at a line end (or a blank on the single line), so no word is split.
                cut = data.rfind(b" " if one_line else b"\n", 0, left)
                data = data[: cut + 1] if cut > 0 else data[:left]
                if one_line:
                    data = data.rstrip(b" ")
                stream.write(data)
                break
            stream.write(data)
            written += len(data)
        if one_line:
            stream.write(b"\n")


def word(number, width):
    """The word for a counter: "zq" and the counter's digits in WORD_LETTERS.

    The "zq" start keeps the word off the common-word lists and off the Roman-numeral and
    repeated-letter filters."""
    digits = []
    for _ in range(width):
        number, digit = divmod(number, len(WORD_LETTERS))
        digits.append(WORD_LETTERS[digit])
    return "zq" + "".join(reversed(digits))


def width_for(count):
    width = 1
    while len(WORD_LETTERS) ** width < count:
        width += 1
    return width


def vocabulary(count):
    width = width_for(count)
    return [word(i, width) for i in range(count)]


def write_meta(count, out):
    vocab = vocabulary(4096)

    def words(i, n, separator=" "):
        return separator.join(vocab[(i * 7 + k * 13) % len(vocab)] for k in range(n))

    # One tag in five is a description, one in five a keywords tag (one of them with the
    # content before the name); the others are meta tags that are skipped whole.
    patterns = [
        lambda i: '<meta name="description" content="%s">' % words(i, 6),
        lambda i: '<meta name="viewport" content="width=device-width, initial-scale=1">',
        lambda i: '<meta name="keywords" content="%s">' % words(i, 4, ", "),
        lambda i: '<meta http-equiv="content-type" content="text/html; charset=utf-8">',
        lambda i: '<meta property="og:title" content="%s">' % words(i, 3),
        lambda i: '<meta name="author" content="%s">' % words(i, 2),
        lambda i: '<meta content="%s" name="keywords">' % words(i, 3, ","),
        lambda i: '<meta name="robots" content="index, follow">',
        lambda i: '<meta charset="utf-8">',
        lambda i: '<meta name = "description" content = "%s">' % words(i, 5),
    ]
    tags = "".join(patterns[i % len(patterns)](i) for i in range(count))
    with open(out, "w", encoding="ascii", newline="") as stream:
        stream.write("<html><head><title>Meta tags</title>" + tags
                     + "</head><body><p>Body text.</p></body></html>\n")


def write_fonts(count, out):
    vocab = vocabulary(4096)
    # Sizes up and down, tags without a size, and nesting one level deep every fourth tag,
    # so the size stack grows and shrinks.
    patterns = [
        '<font size="+2">%s %s</font> ',
        '<font color="red">%s</font> %s ',
        '<font size=5>%s <font size="-1">%s</font></font> ',
        '<font face="serif" size="1">%s</font>%s ',
    ]
    parts = []
    for i in range(count):
        a = vocab[(i * 7) % len(vocab)]
        b = vocab[(i * 11 + 5) % len(vocab)]
        parts.append(patterns[i % len(patterns)] % (a, b))
    with open(out, "w", encoding="ascii", newline="") as stream:
        stream.write("<html><head><title>Font tags</title></head><body>" + "".join(parts)
                     + "</body></html>\n")


def write_words(count, out, per_line=12):
    words = vocabulary(count)
    with open(out, "w", encoding="ascii", newline="\n") as stream:
        stream.write("<html><head><title>Distinct words</title></head><body>\n")
        # Every word twice: first in counter order, then in reverse, so the second time each
        # word is counted it is as far from the front of its equals as it can be.
        for order in (words, words[::-1]):
            for start in range(0, count, per_line):
                stream.write("<p>" + " ".join(order[start:start + per_line]) + "</p>\n")
        stream.write("</body></html>\n")


def main(argv):
    if len(argv) < 4 or argv[1] not in ("real", "oneline", "meta", "fonts", "words"):
        sys.stderr.write(__doc__)
        return 2
    kind, amount, out = argv[1], int(argv[2]), argv[3]
    sources = argv[4:] or [DEFAULT_SOURCE]
    if kind in ("real", "oneline"):
        write_real(amount, out, sources, kind == "oneline")
    elif kind == "meta":
        write_meta(amount, out)
    elif kind == "fonts":
        write_fonts(amount, out)
    else:
        write_words(amount, out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
