#!/usr/bin/env python3
"""The site report in a real browser: headless Chromium loads the report of a small site and
the DOM it dumps is checked: the figures, sorting, filtering, the page details, that page text
stays text, and that the page asks for nothing outside itself.

Usage: report_browser_test.py TAGWRIGHT_CLI [CHROMIUM]
Fails (exit 1) when Chromium is missing: scripts/test.sh installs it.
"""

import html.parser
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

PAGES = {
    # Keywords tag sharing all its words with the generated one.
    "alpha.html": """<html><head><title>Alpine lakes</title>
<meta name="description" content="Lakes in the Alps">
<meta name="keywords" content="lakes,alpine,water">
</head><body><h1>Alpine lakes</h1><p>Alpine lakes lakes water water alpine.</p>
<p>Common footer words: tagwright harbour tagwright harbour.</p></body></html>""",
    # A stale tag: none of its keywords is generated.
    "beta.html": """<html><head><title>Mountain huts</title>
<meta name="keywords" content="ferries,trains,buses">
</head><body><h1>Mountain huts</h1><p>Huts huts mountain mountain beds beds.</p>
<p>Common footer words: tagwright harbour tagwright harbour.</p></body></html>""",
    # No title, no tag; the same words as the footer.
    "sub/gamma.html": """<html><head></head><body><p>Zebra zebra stripes stripes.</p>
<p>Common footer words: tagwright harbour tagwright harbour.</p></body></html>""",
    # The same title as alpha, and a title that tries to end the script.
    "sub/delta.html": """<html><head><title>Alpine lakes</title></head><body>
<p>Glaciers glaciers melt melt. tagwright harbour tagwright harbour</p></body></html>""",
    "evil.html": """<html><head><title>&lt;/script&gt;&lt;script&gt;document.title='pwned'&lt;/script&gt; Evil</title></head>
<body><p>Quokka quokka smiles smiles. tagwright harbour tagwright harbour</p></body></html>""",
}

CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                  "--no-first-run", "--disable-background-networking",
                  "--disable-component-update", "--disable-sync",
                  "--virtual-time-budget=5000"]

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message)


class Dom(html.parser.HTMLParser):
    """The parts of the dumped DOM that the checks read."""

    def __init__(self):
        super().__init__()
        self.ids = {}
        self.rows = []  # the text of each row's cells
        self.scripts = 0
        self.shared = []  # the keywords marked shared
        self.bars = 0  # rects in the page details' chart
        self.aria_sort = {}
        self._id_stack = []
        self._cell = None
        self._in_row = False
        self._in_shared = False
        self._in_bars = False
        self._th_key = None

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "script":
            self.scripts += 1
        if "id" in a:
            self._id_stack.append((tag, a["id"]))
            self.ids.setdefault(a["id"], "")
        if tag == "th" and "data-key" in a:
            self.aria_sort[a["data-key"]] = a.get("aria-sort")
        if tag == "tr" and a.get("class") == "row":
            self.rows.append([])
            self._in_row = True
        if tag == "tr" and a.get("class") == "detail":
            self._in_row = False
        if tag == "td" and self._in_row:
            self.rows[-1].append("")
            self._cell = True
        if tag == "li" and "shared" in (a.get("class") or ""):
            self._in_shared = True
            self.shared.append("")
        if tag == "svg" and a.get("class") == "bars":
            self._in_bars = True
        if tag == "rect" and self._in_bars:
            self.bars += 1

    def handle_endtag(self, tag):
        if self._id_stack and self._id_stack[-1][0] == tag:
            self._id_stack.pop()
        if tag == "td":
            self._cell = None
        if tag == "li":
            self._in_shared = False
        if tag == "svg":
            self._in_bars = False

    def handle_data(self, data):
        for _, ident in self._id_stack:
            self.ids[ident] += data
        if self._cell and self.rows:
            self.rows[-1][-1] += data
        if self._in_shared:
            self.shared[-1] += data


def dump(chromium, url, profile):
    out = subprocess.run([chromium] + CHROMIUM_FLAGS + ["--user-data-dir=" + profile,
                                                        "--dump-dom", url],
                         capture_output=True, text=True, timeout=120)
    if out.returncode != 0:
        print(out.stderr)
    dom = Dom()
    dom.feed(out.stdout)
    return dom, out.stdout


def main():
    cli = sys.argv[1]
    chromium = sys.argv[2] if len(sys.argv) > 2 else (
        shutil.which("chromium") or shutil.which("chromium-browser"))
    if not chromium:
        print("FAIL: Chromium is not installed (apt-get install chromium; scripts/test.sh does)")
        return 1
    work = tempfile.mkdtemp(prefix="tagwright-report-")
    try:
        site = os.path.join(work, "site")
        for name, text in PAGES.items():
            path = os.path.join(site, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w", encoding="utf-8") as f:
                f.write(text)
        report = os.path.join(work, "out", "report.html")
        os.makedirs(os.path.dirname(report))
        run = subprocess.run([os.path.abspath(cli), "report", "-r", "--min-frequency", "2",
                              "site", "-o", "out/report.html"],
                             capture_output=True, text=True, timeout=120, cwd=work)
        check(run.returncode == 0, "report exits 0: " + run.stderr)
        with open(report, encoding="utf-8") as f:
            text = f.read()

        # Nothing outside the page is asked for: a policy that allows nothing but the page's
        # own style and script, and no address of the network in any src or href.
        check(re.search(r'<meta http-equiv="Content-Security-Policy" content="default-src '
                        r"'none';", text) is not None, "the page has a default-src 'none' policy")
        external = re.findall(r'(?:src|href)\s*=\s*["\']?\s*(?:https?:)?//', text, re.I)
        check(not external, "no src or href leads to the network: %r" % external)
        check("<link" not in text and "@import" not in text and "url(" not in text,
              "no stylesheet, import or url() is fetched")

        profile = tempfile.mkdtemp(dir=work)
        base = "file://" + report
        netlog = os.path.join(work, "netlog.json")
        out = subprocess.run([chromium] + CHROMIUM_FLAGS + [
            "--user-data-dir=" + profile, "--log-net-log=" + netlog, "--dump-dom", base],
            capture_output=True, text=True, timeout=120)
        dom = Dom()
        dom.feed(out.stdout)
        # The browser's own requests (updates, time) have no origin; the page's have one.
        with open(netlog, encoding="utf-8", errors="replace") as f:
            log = json.load(f)
        start_job = log["constants"]["logEventTypes"]["URL_REQUEST_START_JOB"]
        requested = [e["params"]["url"] for e in log["events"]
                     if e["type"] == start_job and "url" in e.get("params", {}) and
                     e["params"].get("initiator") != "not an origin" and
                     not e["params"]["url"].startswith(("file:", "data:", "about:"))]
        check(not requested, "the page requested nothing outside itself: %r" % requested)

        # The figures.
        expected = {"count-pages": "5", "count-nokeywords": "3", "count-stale": "1",
                    "count-notitle": "1", "count-nodescription": "4", "count-duptitle": "2"}
        for ident, value in expected.items():
            check(dom.ids.get(ident) == value,
                  "%s is %s (found %r)" % (ident, value, dom.ids.get(ident)))
        check("harbour" in dom.ids.get("furniture", "") and
              "tagwright" in dom.ids.get("furniture", ""),
              "the furniture names the words on every page: %r" % dom.ids.get("furniture"))
        check(dom.scripts == 2, "two script elements, page text made none (%d)" % dom.scripts)
        check("pwned" not in out.stdout.split("<title>")[1].split("</title>")[0],
              "the page's title was not changed by page text")

        # The table in its first order: by path.
        paths = [row[1] for row in dom.rows]
        check(paths == ["site/alpha.html", "site/beta.html", "site/evil.html",
                        "site/sub/delta.html", "site/sub/gamma.html"],
              "rows sorted by path: %r" % paths)
        check(dom.ids.get("status") == "Pages 1\u20135 of 5", "status %r" % dom.ids.get("status"))
        evil = [row for row in dom.rows if row[1] == "site/evil.html"]
        check(evil and evil[0][0].startswith("\u25b8</script><script>"),
              "a title with markup shows as text: %r" % (evil[0][0] if evil else None))
        stale = [row for row in dom.rows if row[1] == "site/beta.html"]
        check(stale and "stale" in stale[0][2] and stale[0][3] == "0 of 3",
              "beta's tag is shown stale, sharing 0 of 3: %r" % (stale[0] if stale else None))

        # Sorted by title, falling; filtered; one kind of page; paging.
        dom, _ = dump(chromium, base + "#sort=title&dir=desc", profile)
        titles = [row[0].lstrip("\u25b8") for row in dom.rows]
        same = "Alpine lakes (same title as another page)"
        check(titles == ["Mountain huts", same, same,
                         "</script><script>document.title='pwned'</script> Evil", "(no title)"],
              "rows sorted by title, falling: %r" % titles)
        check(dom.aria_sort.get("title") == "descending" and dom.aria_sort.get("path") == "none",
              "aria-sort follows the sort: %r" % dom.aria_sort)
        dom, _ = dump(chromium, base + "#filter=zebra", profile)
        check([row[1] for row in dom.rows] == ["site/sub/gamma.html"],
              "the filter keeps the page with the word: %r" % dom.rows)
        check(dom.ids.get("status") == "Pages 1\u20131 of 1", "status %r" % dom.ids.get("status"))
        dom, _ = dump(chromium, base + "#show=duptitle&sort=path&dir=desc", profile)
        check([row[1] for row in dom.rows] == ["site/sub/delta.html", "site/alpha.html"],
              "the duplicate titles, by path falling: %r" % dom.rows)
        dom, _ = dump(chromium, base + "#filter=nothing-has-this", profile)
        check(dom.rows == [] and dom.ids.get("status") == "No page matches",
              "a filter that matches nothing empties the table")

        # A page's details: the tags side by side with the shared words marked, and the bars.
        dom, page = dump(chromium, base + "#open=0", profile)
        check(sorted(dom.shared) == sorted(["lakes", "alpine", "water"] * 2),
              "alpha's three keywords are marked shared in both tags: %r" % dom.shared)
        check(dom.bars >= 3, "the best words are drawn as bars (%d parts)" % dom.bars)
        check("title" in page and "body text" in page, "the bars name their sources")
        check('href="../site/alpha.html"' in page, "the page is linked relative to the report")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    print("all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
