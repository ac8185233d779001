#!/usr/bin/env python3
"""Reads a Windows shortcut (.lnk) the way the shell does and prints one
field of it: what the shortcut starts and with what.

    read_shortcut.py FILE target|arguments|working_dir|icon

The target is the local path the link records (its LinkInfo); the strings
follow it in the order the flags announce them. A shortcut whose target the
shell would take from elsewhere (a network share, an item list alone) is
refused, since a Start-menu entry of ours never is one.
"""
import struct
import sys

HEADER_SIZE = 0x4C
# The link flags that announce the parts after the header.
HAS_ITEM_LIST = 0x01
HAS_LINK_INFO = 0x02
HAS_NAME = 0x04
HAS_RELATIVE_PATH = 0x08
HAS_WORKING_DIR = 0x10
HAS_ARGUMENTS = 0x20
HAS_ICON_LOCATION = 0x40
IS_UNICODE = 0x80
# LinkInfo's flag for a local volume and base path.
LOCAL_PATH = 0x01


class Reader:
    def __init__(self, data):
        self.data = data

    def take(self, offset, size):
        if offset < 0 or offset + size > len(self.data):
            raise ValueError(f"the file ends before byte {offset + size}")
        return self.data[offset:offset + size]

    def u16(self, offset):
        return struct.unpack("<H", self.take(offset, 2))[0]

    def u32(self, offset):
        return struct.unpack("<I", self.take(offset, 4))[0]

    def c_string(self, offset, limit):
        """A zero-ended string in the system's code page, within limit."""
        end = self.data.find(b"\0", offset, limit)
        if end < 0:
            raise ValueError(f"a string at byte {offset} has no end")
        return self.data[offset:end].decode("cp1252")

    def wide_c_string(self, offset, limit):
        """A zero-ended UTF-16 string, within limit."""
        end = offset
        while True:
            if end + 2 > limit:
                raise ValueError(f"a string at byte {offset} has no end")
            if self.take(end, 2) == b"\0\0":
                return self.data[offset:end].decode("utf-16-le")
            end += 2


def read_link_info(reader, start):
    size = reader.u32(start)
    limit = start + size
    reader.take(start, size)
    header_size = reader.u32(start + 4)
    flags = reader.u32(start + 8)
    if not flags & LOCAL_PATH:
        raise ValueError("the link records no local path")
    if header_size >= 0x24:
        # Unicode offsets, when the writer gave them.
        base = reader.u32(start + 0x1C)
        suffix = reader.u32(start + 0x20)
        return (reader.wide_c_string(start + base, limit) +
                reader.wide_c_string(start + suffix, limit)), limit
    base = reader.u32(start + 0x10)
    suffix = reader.u32(start + 0x18)
    return reader.c_string(start + base, limit) + reader.c_string(start + suffix, limit), limit


def read_shortcut(data):
    reader = Reader(data)
    if reader.u32(0) != HEADER_SIZE:
        raise ValueError("not a shortcut: wrong header size")
    if reader.take(4, 16) != bytes.fromhex("0114020000000000c000000000000046"):
        raise ValueError("not a shortcut: wrong class id")
    flags = reader.u32(0x14)
    offset = HEADER_SIZE
    if flags & HAS_ITEM_LIST:
        offset += 2 + reader.u16(offset)
    if not flags & HAS_LINK_INFO:
        raise ValueError("the link has no LinkInfo")
    fields = {}
    fields["target"], offset = read_link_info(reader, offset)
    char_size = 2 if flags & IS_UNICODE else 1
    for flag, name in ((HAS_NAME, "name"), (HAS_RELATIVE_PATH, "relative_path"),
                       (HAS_WORKING_DIR, "working_dir"), (HAS_ARGUMENTS, "arguments"),
                       (HAS_ICON_LOCATION, "icon")):
        if not flags & flag:
            fields[name] = ""
            continue
        count = reader.u16(offset)
        raw = reader.take(offset + 2, count * char_size)
        text = raw.decode("utf-16-le" if char_size == 2 else "cp1252")
        # Some writers count a terminating zero in; the shell stops at it.
        fields[name] = text.split("\0", 1)[0]
        offset += 2 + count * char_size
    return fields


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    try:
        with open(sys.argv[1], "rb") as file:
            fields = read_shortcut(file.read())
    except (OSError, ValueError) as error:
        print(f"read_shortcut: {sys.argv[1]}: {error}", file=sys.stderr)
        return 1
    if sys.argv[2] not in fields:
        print(f"read_shortcut: no field {sys.argv[2]}", file=sys.stderr)
        return 2
    print(fields[sys.argv[2]])
    return 0


if __name__ == "__main__":
    sys.exit(main())
