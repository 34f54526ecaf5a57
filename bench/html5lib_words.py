#!/usr/bin/env python3
"""How often Tagwright finds exactly the words a browser shows, on the html5lib tokenizer tests.

Usage: bench/html5lib_words.py [--tests DIR] [--show N] path/to/tagwright-cli

Every tokenizer test that starts in the Data state (html5lib-tests/tokenizer/*.test, the
"tests" lists) becomes one page holding the test's input. tagwright-cli lists the page's
words with every filter off (--no-short --no-common --min-frequency 1); the expected words
are those of the test's Character tokens, read as Tagwright's default reading reads text:
lower-cased, the Latin letters with accents transliterated (é -> e, ü -> ue), split into runs
of a to z. Tags separate words, so each Character token is split on its own. The words that
Tagwright drops whatever the options are left out of the expected ones too: longer than 60
letters, one letter repeated ("aaa"), only Roman-numeral letters ("xiv", "mix"), five
letters or more ending in "ly", "ed" or "ing". A test agrees when both sets of words are
equal. Tagwright merges a plural into its singular when both occur ("cat", "cats"): both
sets are compared after that merge.

--tests names the html5lib-tests folder (default: $HTML5LIB_TESTS, else the tokenizer cases
kept in tests/data/html5lib-tests).
"""

import argparse
import glob
import json
import os
import pathlib
import re
import subprocess
import sys
import tempfile

from latin_letters import transliterate

BATCH = 500  # pages per tagwright-cli run


def always_dropped(word):
    return (len(word) > 60 or (len(word) > 1 and len(set(word)) == 1) or set(word) <= set("ivxlcm")
            or (len(word) >= 5 and word.endswith(("ly", "ed", "ing"))))


def words_of(text):
    spelled = "".join(transliterate(c) or " " for c in text.lower())
    return [w for w in re.findall("[a-z]+", spelled) if not always_dropped(w)]


def merge_plurals(words):
    return {w[:-1] if w.endswith("s") and w[:-1] in words else w for w in words}


def unescape(text):
    """Undoes the \\uXXXX escapes of a "doubleEscaped" test (surrogates stay lone if alone)."""
    text = re.sub(r"\\u([0-9A-Fa-f]{4})", lambda m: chr(int(m.group(1), 16)), text)
    return text.encode("utf-16", "surrogatepass").decode("utf-16", "surrogatepass")


def data_state_tests(folder):
    """(name, input, expected word set) for every Data-state test of the suite."""
    files = sorted(glob.glob(os.path.join(folder, "tokenizer", "*.test")))
    if not files:
        sys.exit(f"no tokenizer tests in {folder}/tokenizer: pass --tests DIR")
    for path in files:
        with open(path, encoding="utf-8") as f:
            tests = json.load(f).get("tests", [])
        for number, test in enumerate(tests):
            if "Data state" not in test.get("initialStates", ["Data state"]):
                continue
            fix = unescape if test.get("doubleEscaped") else (lambda s: s)
            expected = set()
            for token in test["output"]:
                if token[0] == "Character":
                    expected.update(words_of(fix(token[1])))
            name = f"{os.path.basename(path)}#{number} {test['description']}"
            yield name, fix(test["input"]), merge_plurals(expected)


def tagwright_words(cli, pages):
    """The merged word set tagwright-cli finds on each page, None when it gave no result."""
    found = {}
    for start in range(0, len(pages), BATCH):
        batch = pages[start:start + BATCH]
        run = subprocess.run(
            [cli, "list", "--no-short", "--no-common", "--min-frequency", "1",
             "--format", "json", *batch],
            capture_output=True, text=True, timeout=600)
        for line in run.stdout.splitlines():
            result = json.loads(line)
            found[result["file"]] = {w["word"] for w in result["words"]}
    return [merge_plurals(found[p]) if p in found else None for p in pages]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("cli", help="the tagwright-cli to measure")
    default_tests = os.environ.get(
        "HTML5LIB_TESTS",
        str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "data" / "html5lib-tests"))
    parser.add_argument("--tests", default=default_tests, help="the html5lib-tests folder")
    parser.add_argument("--show", type=int, default=0, metavar="N",
                        help="print the first N tests that disagree")
    args = parser.parse_args()

    tests = list(data_state_tests(args.tests))
    with tempfile.TemporaryDirectory(prefix="tw-html5lib-") as folder:
        pages = []
        for i, (_, text, _) in enumerate(tests):
            page = os.path.join(folder, f"t{i:05}.html")
            with open(page, "w", encoding="utf-8", errors="surrogatepass", newline="") as f:
                f.write(text)
            pages.append(page)
        results = tagwright_words(os.path.abspath(args.cli), pages)

    agree = 0
    by_file = {}
    shown = 0
    for (name, text, expected), found in zip(tests, results):
        suite = name.split("#")[0]
        total, good = by_file.get(suite, (0, 0))
        ok = found == expected
        agree += ok
        by_file[suite] = (total + 1, good + ok)
        if not ok and shown < args.show:
            shown += 1
            print(f"{name}\n  input:    {text!r}\n  expected: {sorted(expected)}\n"
                  f"  found:    {'no result' if found is None else sorted(found)}")
    missing = sum(found is None for found in results)

    print(f"{'tests file':<32} {'tests':>6} {'agree':>6} {'%':>6}")
    for suite, (total, good) in sorted(by_file.items()):
        print(f"{suite:<32} {total:>6} {good:>6} {100 * good / total:>6.1f}")
    print(f"{'all':<32} {len(tests):>6} {agree:>6} {100 * agree / len(tests):>6.1f}")
    if missing:
        print(f"{missing} pages gave no result (tagwright-cli failed on them)")


if __name__ == "__main__":
    main()
