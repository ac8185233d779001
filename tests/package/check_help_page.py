#!/usr/bin/env python3
"""Checks the help pages, each one well-formed HTML that a person can read
with nothing else at hand: every element closed and properly nested, no
scripts, and no reference to anything outside the file (pictures, style
sheets, fonts, frames, other sites). A link names an anchor of the page or
one of the other pages given, which ship beside it.

Given more than one page (the same help in other languages), it also checks
that they are kept in step with the first: the same sections (h2 ids) in
the same order, and in each section the same run of headings, paragraphs,
lists, list items, tables and cells, and the same code and key texts.

    check_help_page.py PAGE [OTHER_LANGUAGE_PAGE ...]
"""
import os
import re
import sys
from html.parser import HTMLParser

# What a translation keeps as it stands, section by section.
STRUCTURE = {"h3", "p", "ul", "ol", "li", "table", "tr", "th", "td", "nav"}
LITERAL = {"code", "kbd"}

VOID = {"meta", "br", "hr", "img", "input", "link", "col", "area", "base", "wbr", "source", "embed", "param", "track"}
FORBIDDEN = {"script", "link", "iframe", "frame", "object", "embed", "img", "audio", "video", "source", "base"}
URL_ATTRIBUTES = {"href", "src", "srcset", "data", "poster", "action", "background", "formaction"}


class Page(HTMLParser):
    def __init__(self, siblings=()):
        super().__init__(convert_charrefs=True)
        self.siblings = set(siblings)
        # (section id, [structural tags], [code and key texts]) in page order;
        # what comes before the first h2 is the section "".
        self.sections = [("", [], [])]
        self.literal = None
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
        if tag == "h2":
            section = dict(attrs).get("id") or ""
            self.sections.append((section, [], []))
            if not section:
                self.problems.append("%s: a section heading without an id" % self.where())
        if tag in STRUCTURE:
            self.sections[-1][1].append(tag)
        if tag in LITERAL:
            self.literal = ""
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
                elif not (name == "href" and value in self.siblings):
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
        if tag in LITERAL and self.literal is not None:
            self.sections[-1][2].append(" ".join(self.literal.split()))
            self.literal = None

    def handle_data(self, data):
        if self.literal is not None:
            self.literal += data
        if self.in_style and re.search(r"url\s*\(|@import", data, re.I):
            self.problems.append("%s: the style sheet loads a resource" % self.where())


def read(text, siblings=()):
    page = Page(siblings)
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
    return page, problems


def out_of_step(first, other, page_names):
    """What differs between two languages' pages. A page names the other
    language's page where the other names it: those names count as one."""
    def shape(page):
        return [(name, tags, ["<page>" if text in page_names else text for text in texts])
                for name, tags, texts in page.sections]
    ours, theirs = shape(first), shape(other)
    problems = []
    our_ids, their_ids = [s[0] for s in ours], [s[0] for s in theirs]
    for missing in [i for i in our_ids if i not in their_ids]:
        problems.append("section %r is missing" % missing)
    for extra in [i for i in their_ids if i not in our_ids]:
        problems.append("section %r is not in the first page" % extra)
    if not problems and our_ids != their_ids:
        problems.append("the sections come in another order: %s" % " ".join(their_ids))
    theirs_by_id = {s[0]: s for s in theirs}
    for name, tags, texts in ours:
        if name not in theirs_by_id:
            continue
        _, their_tags, their_texts = theirs_by_id[name]
        label = "section %r" % name if name else "the page's top"
        if tags != their_tags:
            problems.append("%s: %s elements, not as in the first page (%s)"
                            % (label, " ".join(their_tags), " ".join(tags)))
        if texts != their_texts:
            problems.append("%s: code and keys %s, not %s" % (label, their_texts, texts))
    return problems


def check_pages(paths):
    names = [os.path.basename(path) for path in paths]
    pages, problems = [], []
    for path, name in zip(paths, names):
        with open(path, encoding="utf-8") as file:
            page, found = read(file.read(), [n for n in names if n != name])
        pages.append(page)
        problems += ["%s: %s" % (name, problem) for problem in found]
    for page, name in zip(pages[1:], names[1:]):
        problems += ["%s: %s" % (name, problem) for problem in out_of_step(pages[0], page, names)]
    return problems


if __name__ == "__main__":
    problems = check_pages(sys.argv[1:])
    for problem in problems:
        print(problem, file=sys.stderr)
    sys.exit(1 if problems else 0)
