"""Pictures that declare, in a few bytes, more than any decoder may be asked
for, each well formed enough for the platform's decoders to set to work on:
a 40-byte JPEG whose frame header of 65500 x 65500 follows a stray byte, a
GIF whose logical screen is 65535 x 65535, and a PNG of 2^28 x 1 pixels
(one bit each, its one row of zeros compressed to a few tens of kilobytes).
usage: make_refused_pictures.py <output folder>"""
import pathlib
import struct
import sys
import zlib


def stray_byte_jpeg():
    jfif = bytes([0xFF, 0xE0, 0, 16]) + b"JFIF\0" + bytes([1, 1, 0, 0, 1, 0, 1, 0, 0])
    frame = bytes([0xFF, 0xC0, 0, 17, 8]) + struct.pack(">HH", 65500, 65500)
    frame += bytes([3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1])
    jpeg = bytes([0xFF, 0xD8]) + jfif + b"\0" + frame
    assert len(jpeg) == 40
    return jpeg


def largest_screen_gif():
    screen = b"GIF89a" + struct.pack("<HH", 65535, 65535) + bytes([0x80, 0, 0]) + bytes([0, 0, 0, 255, 255, 255])
    image = bytes([0x2C]) + struct.pack("<HHHH", 0, 0, 1, 1) + bytes([0, 2, 2, 0x4C, 0x01, 0])
    return screen + image + b";"


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def one_pixel_high_png():
    width = 1 << 28
    header = struct.pack(">IIBBBBB", width, 1, 1, 0, 0, 0, 0)  # one-bit grey
    row = bytes(1 + width // 8)  # filter type 0, then the row's bits
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(row, 9)) + chunk(b"IEND", b"")


def main():
    out = pathlib.Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    (out / "refused-stray-byte.jpg").write_bytes(stray_byte_jpeg())
    (out / "refused-gif-screen.gif").write_bytes(largest_screen_gif())
    (out / "refused-png-one-pixel-high.png").write_bytes(one_pixel_high_png())


if __name__ == "__main__":
    main()
