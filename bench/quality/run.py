#!/usr/bin/env python3
"""Classifies the ten best words Tagwright finds on each page of the quality corpus.

Usage: bench/quality/run.py [--corpus DIR] [--details DIR] path/to/tagwright-cli

Runs `tagwright-cli list --format json` with the window's default options on every page
listed in CORPUS_DIR/pages.tsv (made by make_corpus.sh), in the default reading and, when
the program has the option, with --modern. Each of the ten best words of a page is sorted
into one junk class, the first that fits, or none:

  entity      the name of a character reference that the page writes (&rsquo; gives "rsquo")
  garbage     not a word of the page as a browser shows it: bytes read in the wrong charset
              ("aeaa"), pieces of references or tags
  code        a keyword or name of a common programming language ("def", "nullptr", "usr")
  navigation  a navigation label ("next", "contents", "weiter", "sommaire")
  function    a common word of the page's own language, when that is not English ("fuer",
              "eine"); English ones are what the default reading's common words drop

and the first word is checked against the words of the page's title. With --details, the
ten best words of every page are written to DIR/<reading>.tsv, junk marked by its class.
With --declare-languages, the pages whose <html> tag has no lang attribute are measured as
if they declared the language they are written in: a question for the modern reading, which
takes the page's common words from that attribute.
"""

import argparse
import html
import html.entities
import html.parser
import json
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent))
from latin_letters import transliterate  # noqa: E402

ROOT = pathlib.Path(__file__).resolve().parent.parent.parent
BATCH = 50  # pages per tagwright-cli run

ENTITY_NAMES = {name.rstrip(";") for name in html.entities.html5}

CODE_WORDS = set("""
    def elif lambda kwargs args str dict len init repr none true false null nil
    struct typedef unsigned sizeof nullptr namespace typename std ifdef ifndef endif
    const void char int bool printf malloc enum
    impl pub mut usize isize dyn println unwrap crate vec
    var undefined typeof href src div span img px
    echo esac sudo usr bin tmp lib
""".split())

NAVIGATION_WORDS = set("""
    next previous prev home contents content index search up top skip menu toggle
    navigation nav copyright sidebar footer header breadcrumb permalink theme toc genindex
    modules back forward edit show hide
    weiter zurueck inhalt inhaltsverzeichnis startseite suche kapitel
    suivant precedent sommaire accueil recherche chapitre
    siguiente anterior inicio contenido indice buscar capitulo
    successivo precedente sommario cerca capitolo
    proximo sumario pesquisar
    volgende vorige inhoud zoeken hoofdstuk
    далее назад вперёд вверх содержание начало поиск глава
    次へ 前へ 上へ 目次 ホーム 下一页 上一页 目录 首页 下一頁 上一頁 目錄
""".split())

def words_of(text):
    """The words of a text in both readings: runs of a-z after transliteration, and runs
    of letters of any script with the Latin ones transliterated."""
    text = text.lower()
    latin = "".join(transliterate(c) or " " for c in text)
    letters = "".join(transliterate(c) or (c if c.isalpha() else " ") for c in text)
    return set(latin.split()) | set(letters.split())


def stop_words(language):
    path = ROOT / "data" / "stopwords" / f"{language}.txt"
    if not path.exists():
        return set()
    return set(path.read_text(encoding="utf-8").split())


class PageText(html.parser.HTMLParser):
    """The text a browser shows, the title, and the description and keywords meta tags."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.parts = []
        self.title = []
        self.headings = []
        self.skip = 0
        self.in_title = False
        self.in_heading = 0

    def handle_starttag(self, tag, attrs):
        if tag in ("script", "style"):
            self.skip += 1
        elif tag == "title":
            self.in_title = True
        elif tag in ("h1", "h2", "h3", "h4", "h5", "h6"):
            self.in_heading += 1
            self.headings.append(" ")
        elif tag == "meta":
            a = dict(attrs)
            if (a.get("name") or "").lower() in ("description", "keywords"):
                self.parts.append(a.get("content") or "")
        self.parts.append(" ")  # tags separate words

    def handle_endtag(self, tag):
        if tag in ("script", "style"):
            self.skip = max(0, self.skip - 1)
        elif tag == "title":
            self.in_title = False
        elif tag in ("h1", "h2", "h3", "h4", "h5", "h6"):
            self.in_heading = max(0, self.in_heading - 1)
        self.parts.append(" ")

    def handle_data(self, data):
        if self.in_title:
            self.title.append(data)
        if self.in_heading and not self.skip:
            self.headings.append(data)
        if not self.skip:
            self.parts.append(data)


def decode(raw, charset):
    """The page's text in the charset it is written in: the given one, else the one it
    declares, else UTF-8 when it is valid, else Windows-1252. Bytes that the charset does
    not know become U+FFFD, as in a browser."""
    if raw.startswith(b"\xef\xbb\xbf"):
        charset = charset or "utf-8-sig"
    declared = re.search(rb"""charset\s*=\s*["']?([A-Za-z0-9_.:-]+)""", raw[:1024])
    if declared:
        charset = charset or declared.group(1).decode("ascii")
    if charset:
        try:
            return raw.decode(charset, errors="replace")
        except LookupError:
            pass
    try:
        return raw.decode("utf-8")
    except UnicodeDecodeError:
        return raw.decode("windows-1252", errors="replace")


class Page:
    def __init__(self, folder, name, language, charset, half):
        self.name, self.language, self.half = name, language, half
        raw = (folder / name).read_bytes()
        self.legacy = bool(charset)
        self.source = decode(raw, charset)
        parser = PageText()
        parser.feed(self.source)
        parser.close()
        self.text = "".join(parser.parts).lower()
        self.words = words_of(self.text)
        self.title = " ".join("".join(parser.title).split())
        self.title_words = words_of(self.title)
        self.headings = " ".join("".join(parser.headings).split())
        self.heading_words = words_of(self.headings) | self.title_words
        self.stop_words = stop_words(language) if language != "en" else set()

    def shows(self, word, words, text):
        # Words of scripts without blanks are cut by a dictionary: a piece of the text.
        return word in words or (not word.isascii() and word in text)

    def junk_class(self, word):
        if word in ENTITY_NAMES and re.search(rf"&{re.escape(word)}(?![a-z0-9])", self.source,
                                              re.IGNORECASE):
            return "entity"
        if not self.shows(word, self.words, self.text):
            return "garbage"
        if word in CODE_WORDS:
            return "code"
        if word in NAVIGATION_WORDS:
            return "navigation"
        if word in self.stop_words:
            return "function"
        return ""

    def is_title_word(self, word):
        return self.shows(word, self.title_words, self.title.lower())

    def is_heading_word(self, word):
        return self.shows(word, self.heading_words, (self.title + " " + self.headings).lower())


def top_words(cli, folder, names, options):
    """The ten best words of each page, None for a page the program gave no result for."""
    found = {}
    for start in range(0, len(names), BATCH):
        batch = [str(folder / n) for n in names[start:start + BATCH]]
        run = subprocess.run([cli, "list", *options, "--format", "json", *batch],
                             capture_output=True, text=True, timeout=600)
        for line in run.stdout.splitlines():
            result = json.loads(line)
            found[os.path.basename(result["file"])] = [w["word"] for w in result["words"][:10]]
    return [found.get(n) for n in names]


def declare_languages(folder, pages, copy):
    """Copies the corpus to `copy`, adding lang="..." to every <html> tag that lacks it."""
    for page in pages:
        raw = (folder / page.name).read_bytes()
        tag = re.search(rb"<html\b([^>]*)>", raw, re.IGNORECASE)
        if tag and not re.search(rb"\blang\s*=", tag.group(1), re.IGNORECASE):
            lang = f' lang="{page.language}"'.encode("ascii")
            raw = raw[:tag.start(1)] + lang + raw[tag.start(1):]
        (copy / page.name).write_bytes(raw)


def measure(pages, tops):
    counts = {"pages": len(pages), "no result": 0, "no words": 0, "junk pages": 0,
              "junk words": 0, "entity pages": 0, "garbage pages": 0,
              "legacy garbage pages": 0, "title first": 0, "title or heading first": 0,
              "CJK pages": 0, "CJK pages without words": 0}
    by_class = {c: 0 for c in ("entity", "garbage", "code", "navigation", "function")}
    rows = []
    for page, top in zip(pages, tops):
        if top is None:
            counts["no result"] += 1
            continue
        if not top:
            counts["no words"] += 1
        cjk = page.language in ("zh", "ja", "ko")
        counts["CJK pages"] += cjk
        counts["CJK pages without words"] += cjk and not top
        classes = [page.junk_class(w) for w in top]
        junk = [c for c in classes if c]
        for c in junk:
            by_class[c] += 1
        counts["junk words"] += len(junk)
        counts["junk pages"] += bool(junk)
        counts["entity pages"] += "entity" in junk
        counts["garbage pages"] += "garbage" in junk
        counts["legacy garbage pages"] += "garbage" in junk and page.legacy
        counts["title first"] += bool(top) and page.is_title_word(top[0])
        counts["title or heading first"] += bool(top) and page.is_heading_word(top[0])
        rows.append((page.name, " ".join(f"{w}[{c}]" if c else w for w, c in zip(top, classes))))
    return counts, by_class, rows


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("cli", help="the tagwright-cli to measure")
    parser.add_argument("--corpus", default="/tmp/tagwright-quality",
                        help="the folder make_corpus.sh filled [/tmp/tagwright-quality]")
    parser.add_argument("--details", metavar="DIR", help="write each page's ten best words here")
    parser.add_argument("--declare-languages", action="store_true",
                        help="measure the pages as if each declared its language")
    args = parser.parse_args()

    folder = pathlib.Path(args.corpus)
    listing = folder / "pages.tsv"
    if not listing.exists():
        sys.exit(f"no {listing}: run bench/quality/make_corpus.sh {folder} first")
    pages = []
    for line in listing.read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#"):
            name, language, _, charset, _, half = line.split("\t")
            pages.append(Page(folder, name, language, charset, half))

    if args.declare_languages:
        copy = pathlib.Path(tempfile.mkdtemp(prefix="tw-quality-"))
        declare_languages(folder, pages, copy)
        folder = copy

    halves = [h for h in ("tune", "check") if any(p.half == h for p in pages)]
    cli = os.path.abspath(args.cli)
    readings = {"default": []}
    usage = subprocess.run([cli, "--help"], capture_output=True, text=True).stdout
    if "--modern" in usage:
        readings["modern"] = ["--modern"]
    else:
        print("(this tagwright-cli has no --modern: the default reading only)")

    # Each reading is measured on the two halves of the corpus: the pages tuned on and the
    # pages kept for checking.
    results = {}
    for reading, options in readings.items():
        tops = top_words(cli, folder, [p.name for p in pages], options)
        for half in halves:
            chosen = [(p, t) for p, t in zip(pages, tops) if p.half == half]
            results[(reading, half)] = measure([p for p, _ in chosen], [t for _, t in chosen])
        if args.details:
            os.makedirs(args.details, exist_ok=True)
            with open(os.path.join(args.details, f"{reading}.tsv"), "w", encoding="utf-8") as f:
                for half in halves:
                    f.writelines(f"{name}\t{half}\t{top}\n"
                                 for name, top in results[(reading, half)][2])
    if args.declare_languages:
        shutil.rmtree(folder)

    columns = [(r, h) for h in halves for r in readings]
    print(f"{'':<32}" + "".join(f"{r + ' ' + h:>15}" for r, h in columns))
    first = results[columns[0]]
    for key in first[0]:
        print(f"{key:<32}" + "".join(f"{results[c][0][key]:>15}" for c in columns))
    for key in first[1]:
        print(f"{'junk words: ' + key:<32}" + "".join(f"{results[c][1][key]:>15}" for c in columns))


if __name__ == "__main__":
    main()
