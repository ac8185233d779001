#!/usr/bin/env python3
"""Checks that the help page is one well-formed HTML file that a person can
read with nothing else at hand: every element closed and properly nested, no
scripts, and no reference to anything outside the file (pictures, style
sheets, fonts, frames, other pages). Links within the page are fine; a
link must name an anchor that exists."""
import re
import sys
from html.parser import HTMLParser

VOID = {"meta", "br", "hr", "img", "input", "link", "col", "area", "base", "wbr", "source", "embed", "param", "track"}
FORBIDDEN = {"script", "link", "iframe", "frame", "object", "embed", "img", "audio", "video", "source", "base"}
URL_ATTRIBUTES = {"href", "src", "srcset", "data", "poster", "action", "background", "formaction"}


class Page(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.open = []
        self.problems = []
        self.ids = set()
        self.links = []
        self.in_style = False
        self.doctype = False

    def where(self):
        return "line %d" % self.getpos()[0]

    def handle_decl(self, decl):
        self.doctype |= decl.lower() == "doctype html"

    def handle_starttag(self, tag, attrs):
        self.start(tag, attrs)
        if tag not in VOID:
            self.open.append(tag)

    def handle_startendtag(self, tag, attrs):
        self.start(tag, attrs)

    def start(self, tag, attrs):
        if tag in FORBIDDEN:
            self.problems.append("%s: <%s> is not allowed" % (self.where(), tag))
        for name, value in attrs:
            if name == "id":
                if value in self.ids:
                    self.problems.append("%s: id %r twice" % (self.where(), value))
                self.ids.add(value)
            if name.startswith("on"):
                self.problems.append("%s: script attribute %s" % (self.where(), name))
            if name in URL_ATTRIBUTES:
                if name == "href" and value and value.startswith("#"):
                    self.links.append((self.where(), value[1:]))
                else:
                    self.problems.append("%s: %s=%r points outside the page" % (self.where(), name, value))
            if name == "style" and re.search(r"url\s*\(|@import", value or "", re.I):
                self.problems.append("%s: style attribute loads a resource" % self.where())
        self.in_style = tag == "style"

    def handle_endtag(self, tag):
        if tag in VOID:
            return
        if not self.open or self.open[-1] != tag:
            self.problems.append("%s: </%s> does not close <%s>" % (self.where(), tag, self.open[-1] if self.open else ""))
            return
        self.open.pop()
        self.in_style = False

    def handle_data(self, data):
        if self.in_style and re.search(r"url\s*\(|@import", data, re.I):
            self.problems.append("%s: the style sheet loads a resource" % self.where())


def check(text):
    page = Page()
    page.feed(text)
    page.close()
    problems = list(page.problems)
    if not page.doctype:
        problems.append("no <!DOCTYPE html>")
    if page.open:
        problems.append("never closed: " + ", ".join(page.open))
    for where, anchor in page.links:
        if anchor not in page.ids:
            problems.append("%s: link to #%s, which is not on the page" % (where, anchor))
    for needed in ("<title>", '<meta charset="utf-8"'):
        if needed not in text:
            problems.append("missing " + needed)
    return problems


if __name__ == "__main__":
    with open(sys.argv[1], encoding="utf-8") as file:
        problems = check(file.read())
    for problem in problems:
        print(problem, file=sys.stderr)
    sys.exit(1 if problems else 0)
