#!/usr/bin/env python3
"""The words tagwright-cli finds on the html5lib tokenizer cases, against the words of their
expected Character tokens (the text a browser shows).

Usage: html5lib_words_test.py TAGWRIGHT_CLI HTML5LIB_TESTS_DIR
Takes every fifth Data-state case of the tokenizer suite (tests/data/html5lib-tests),
writes each input as a page and lists its words with every configurable filter off. The
expected words are the letter runs of the expected text, lower-cased and spelled like the
program spells Latin letters, less the words that the program's fixed rules always drop.
Plural and singular count as one word on both sides. Fails when fewer than MIN_AGREEMENT of
the cases agree, listing the first disagreements, and when the suite is missing.
"""
import importlib.util
import json
import pathlib
import subprocess
import sys
import tempfile

MIN_AGREEMENT = 0.90
EVERY = 5
ROOT = pathlib.Path(__file__).resolve().parents[2]

module_source = importlib.util.spec_from_file_location("translit", ROOT / "scripts/gen_transliteration.py")
translit = importlib.util.module_from_spec(module_source)
module_source.loader.exec_module(translit)


def cases(suite):
    for path in sorted((suite / "tokenizer").glob("*.test")):
        data = json.loads(path.read_text(encoding="utf-8"))
        for case in data.get("tests", []):
            states = case.get("initialStates", ["Data state"])
            if "Data state" not in states or case.get("doubleEscaped") or "lastStartTag" in case:
                continue
            yield f"{path.name}: {case['description']}", case


def words_of(text):
    spelled = []
    for char in text.lower():
        if "a" <= char <= "z":
            spelled.append(char)
        elif ord(char) >= 0xC0:
            spelled.append(translit.spelling(ord(char)) or " ")
        else:
            spelled.append(" ")
    return set("".join(spelled).split())


def always_dropped(word):
    return (len(word) > 60 or (len(word) > 1 and set(word) == {word[0]})
            or set(word) <= set("ivxlcm")
            or (len(word) >= 5 and word.endswith(("ly", "ed", "ing"))))


def normal(words):
    return {w[:-1] if w.endswith("s") else w for w in words}


def main():
    cli, suite = sys.argv[1], pathlib.Path(sys.argv[2])
    sample = [c for i, c in enumerate(cases(suite)) if i % EVERY == 0]
    if not sample:
        print(f"no html5lib tokenizer cases in {suite}")
        return 1
    with tempfile.TemporaryDirectory() as folder:
        files = []
        expected = {}
        for n, (name, case) in enumerate(sample):
            page = pathlib.Path(folder) / f"case{n}.html"
            page.write_bytes(case["input"].encode("utf-8", "surrogatepass"))
            files.append(str(page))
            text = "".join(t[1] for t in case["output"] if t[0] == "Character")
            expected[page.name] = (name, normal(w for w in words_of(text) if not always_dropped(w)))
        run = subprocess.run([cli, "list", "--format", "json", "--no-short", "--no-common",
                              "--min-frequency", "1", *files], capture_output=True, text=True)
        if run.returncode != 0:
            print(run.stderr)
            return 1
    agreeing, misses = 0, []
    for line in run.stdout.splitlines():
        result = json.loads(line)
        name, want = expected[pathlib.Path(result["file"]).name]
        got = normal(w["word"] for w in result.get("words", []))
        if got == want:
            agreeing += 1
        else:
            misses.append(f"{name}: found {sorted(got)}, shown {sorted(want)}")
    share = agreeing / len(sample)
    print(f"{agreeing} of {len(sample)} cases agree ({share:.1%})")
    for miss in misses[:15]:
        print("  " + miss)
    return 0 if share >= MIN_AGREEMENT else 1


if __name__ == "__main__":
    sys.exit(main())
