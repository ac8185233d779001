#!/usr/bin/env python3
"""Checks that the fonts installed here draw every character of a help
page's text, so its rendering shows no missing-glyph boxes: the union of the
fonts' character sets, as fontconfig reports them, must hold each one. With
--lang, a font for that language must be among them too.

    fonts_cover_page.py [--lang ja] PAGE
"""
import html
import re
import subprocess
import sys


def covered():
    listing = subprocess.run(["fc-list", "--format=%{charset}\\n"], capture_output=True, text=True, check=True)
    ranges = []
    for line in listing.stdout.split():
        first, _, last = line.partition("-")
        ranges.append((int(first, 16), int(last or first, 16)))
    return ranges


def page_characters(text):
    body = re.sub(r"<style.*?</style>|<[^>]*>", " ", text, flags=re.S)
    return {c for c in html.unescape(body) if not c.isspace()}


def main(arguments):
    lang = None
    if arguments[:1] == ["--lang"]:
        lang, arguments = arguments[1], arguments[2:]
    with open(arguments[0], encoding="utf-8") as file:
        characters = page_characters(file.read())
    ranges = covered()
    missing = sorted(c for c in characters if not any(a <= ord(c) <= b for a, b in ranges))
    problems = []
    if missing:
        problems.append("no font here draws %s" % " ".join("U+%04X" % ord(c) for c in missing))
    if lang and not subprocess.run(["fc-list", ":lang=" + lang], capture_output=True, text=True).stdout.strip():
        problems.append("no font for %s is installed" % lang)
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
