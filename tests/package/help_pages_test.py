#!/usr/bin/env python3
"""The help pages' check catches a translation fallen out of step: each row
changes the Japanese page (or the English one) the way a hurried edit
would, and the check must name what went wrong; the pages as shipped pass.

    help_pages_test.py ENGLISH_PAGE JAPANESE_PAGE
"""
import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_help_page import check_pages  # noqa: E402


def cut_section(text, section):
    start = text.index('<h2 id="%s">' % section)
    return text[:start] + text[text.index("<h2 ", start + 1):]


def swap_sections(text, first, second):
    a, b = text.index('<h2 id="%s">' % first), text.index('<h2 id="%s">' % second)
    end = text.index("<h2 ", b + 1)
    return text[:a] + text[b:end] + text[a:b] + text[end:]


def after(text, marker, old, new):
    at = text.index(marker)
    return text[:at] + text[at:].replace(old, new, 1)


# name | which page changes | the change | what the report must name
ROWS = [
    ("a section only in English", "ja", lambda t: cut_section(t, "music"), "section 'music' is missing"),
    ("a section only in Japanese", "en", lambda t: cut_section(t, "scanner"), "section 'scanner' is not in the first page"),
    ("sections in another order", "ja", lambda t: swap_sections(t, "music", "data"), "another order"),
    ("a list item added", "ja", lambda t: after(t, '<h2 id="music">', "<li>", "<li>x</li><li>"),
     "section 'music'"),
    ("a paragraph added", "ja", lambda t: after(t, '<h2 id="run">', "<ul>", "<p>x</p><ul>"), "section 'run'"),
    ("a path changed in one language", "ja",
     lambda t: after(t, '<h2 id="data">', "Nubivola2.bmp", "Nubivola3.bmp"), "section 'data': code and keys"),
    ("a key changed in one language", "ja", lambda t: after(t, '<h2 id="use">', "<kbd>Esc</kbd>", "<kbd>Enter</kbd>"),
     "section 'use': code and keys"),
    ("a section heading without its id", "ja", lambda t: t.replace('<h2 id="licence">', "<h2>"),
     "a section heading without an id"),
    ("a link to a page that does not ship", "ja", lambda t: t.replace('href="Ventalune.html"', 'href="Ventalune-en.html"'),
     "points outside the page"),
]


def main(english, japanese):
    texts = {}
    for key, path in (("en", english), ("ja", japanese)):
        with open(path, encoding="utf-8") as file:
            texts[key] = file.read()
    names = {"en": os.path.basename(english), "ja": os.path.basename(japanese)}
    failures = 0
    with tempfile.TemporaryDirectory() as folder:
        def check(changed):
            paths = []
            for key in ("en", "ja"):
                path = os.path.join(folder, names[key])
                with open(path, "w", encoding="utf-8") as file:
                    file.write(changed.get(key, texts[key]))
                paths.append(path)
            return check_pages(paths)

        shipped = check({})
        if shipped:
            failures += 1
            print("FAIL the shipped pages: %s" % shipped, file=sys.stderr)
        for name, key, change, expected in ROWS:
            report = check({key: change(texts[key])})
            if not any(expected in problem for problem in report):
                failures += 1
                print("FAIL %s: no %r in %s" % (name, expected, report), file=sys.stderr)
    return failures


if __name__ == "__main__":
    sys.exit(1 if main(sys.argv[1], sys.argv[2]) else 0)
