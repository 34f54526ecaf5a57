#!/usr/bin/env python3
"""Writes a small plain page, in UTF-8, from real text in another language.

Usage: legacy_page.py [--chars N] LANG DECLARATION SOURCE...

SOURCE is an HTML page (its title, headings and paragraphs are taken) or a gettext .mo
catalogue (its translated messages are taken). DECLARATION is "meta=CHARSET" for a
<meta charset> tag, "http-equiv=CHARSET" for a Content-Type meta tag, or "-" for none.
The page holds about N characters of text (3,000 unless given). make_corpus.sh converts the
page to its charset with iconv.
"""

import gettext
import html
import html.parser
import sys

MAX_TEXT = 3000  # characters of page text


class TextBlocks(html.parser.HTMLParser):
    """The title and the text of the headings and paragraphs of a page."""

    BLOCKS = ("h1", "h2", "h3", "p", "title")

    def __init__(self):
        super().__init__()
        self.title = ""
        self.blocks = []  # (tag, text)
        self.open = None
        self.text = []

    def handle_starttag(self, tag, attrs):
        if tag in self.BLOCKS:
            self.open, self.text = tag, []

    def handle_endtag(self, tag):
        if tag != self.open:
            return
        text = " ".join("".join(self.text).split())
        if tag == "title":
            self.title = text
        elif text:
            self.blocks.append((tag, text))
        self.open = None

    def handle_data(self, data):
        if self.open:
            self.text.append(data)


def from_page(path):
    parser = TextBlocks()
    with open(path, encoding="utf-8") as f:
        parser.feed(f.read())
    return parser.title, parser.blocks


def from_catalogue(path):
    """Translated messages written mostly in letters beyond ASCII, five to a paragraph."""
    with open(path, "rb") as f:
        catalogue = gettext.GNUTranslations(f)._catalog
    messages = []
    for source, text in catalogue.items():
        if not isinstance(source, str) or not source or text == source:
            continue
        text = " ".join(text.replace("\u202b", "").replace("\u202c", "").split())
        foreign = sum(c.isalpha() and not c.isascii() for c in text)
        if len(text.split()) >= 3 and foreign > len(text) / 2:
            messages.append(text)
    title = messages[0] if messages else ""
    blocks = [("p", " ".join(messages[i:i + 5])) for i in range(1, len(messages), 5)]
    return title, blocks


def main():
    args = sys.argv[1:]
    max_text = MAX_TEXT
    if args[:1] == ["--chars"] and len(args) > 1:
        max_text, args = int(args[1]), args[2:]
    if len(args) < 3:
        sys.exit(__doc__)
    language, declaration, sources = args[0], args[1], args[2:]
    title, blocks = "", []
    for source in sources:
        t, b = from_catalogue(source) if source.endswith(".mo") else from_page(source)
        title = title or t
        blocks += b
    lines = [f'<html lang="{language}">', "<head>"]
    kind, _, charset = declaration.partition("=")
    if kind == "meta":
        lines.append(f'<meta charset="{charset}">')
    elif kind == "http-equiv":
        lines.append(f'<meta http-equiv="Content-Type" content="text/html; charset={charset}">')
    lines += [f"<title>{html.escape(title)}</title>", "</head>", "<body>"]
    length = 0
    for tag, text in blocks:
        if length > max_text:
            break
        lines.append(f"<{tag}>{html.escape(text, quote=False)}</{tag}>")
        length += len(text)
    lines += ["</body>", "</html>"]
    sys.stdout.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
