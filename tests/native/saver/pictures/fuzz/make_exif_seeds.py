"""The seed corpus of exif_orientation_fuzz: our own small JPEGs (the
jpeg_reduced_fuzz seeds) with an EXIF block put in as cameras and phones
write it: a few tags around the orientation, values kept outside the IFD,
a second IFD after the first.
usage: make_exif_seeds.py <jpeg_reduced_fuzz folder> <output folder>"""
import pathlib
import struct
import sys


def tiff(order, orientation):
    """A TIFF block: IFD0 with Make (ASCII, kept after the IFDs), Orientation
    and XResolution (a RATIONAL, kept there too), then IFD1 with one tag."""
    mark = b"II*\0" if order == "<" else b"MM\0*"
    make = b"Phone\0"
    ifd0 = 8
    ifd0_size = 2 + 3 * 12 + 4
    ifd1 = ifd0 + ifd0_size
    ifd1_size = 2 + 1 * 12 + 4
    make_at = ifd1 + ifd1_size
    resolution_at = make_at + len(make)
    out = mark + struct.pack(order + "I", ifd0)
    out += struct.pack(order + "H", 3)
    out += struct.pack(order + "HHII", 0x010F, 2, len(make), make_at)
    out += struct.pack(order + "HHIHH", 0x0112, 3, 1, orientation, 0)
    out += struct.pack(order + "HHII", 0x011A, 5, 1, resolution_at)
    out += struct.pack(order + "I", ifd1)
    out += struct.pack(order + "H", 1)
    out += struct.pack(order + "HHIHH", 0x0103, 3, 1, 6, 0)  # the thumbnail's compression
    out += struct.pack(order + "I", 0)
    return out + make + struct.pack(order + "II", 72, 1)


def segment(marker, payload):
    return bytes([0xFF, marker]) + struct.pack(">H", len(payload) + 2) + payload


def exif(order, orientation):
    return segment(0xE1, b"Exif\0\0" + tiff(order, orientation))


def after_jfif(jpeg, *segments):
    """The segments put right after the JFIF segment that cjpeg writes first."""
    assert jpeg[:4] == b"\xff\xd8\xff\xe0"
    end = 4 + struct.unpack(">H", jpeg[4:6])[0]
    return jpeg[:end] + b"".join(segments) + jpeg[end:]


def main():
    source, target = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    target.mkdir(parents=True, exist_ok=True)
    grey = (source / "grey.jpg").read_bytes()
    colour = (source / "yuv420.jpg").read_bytes()
    xmp = segment(0xE1, b"http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>")
    scan = segment(0xDA, bytes([1, 1, 0, 0, 63, 0]))
    seeds = {
        "camera-little-endian.jpg": grey[:2] + exif("<", 6) + grey[2:],
        "phone-big-endian.jpg": after_jfif(colour, xmp, exif(">", 8)),
        "head-only.jpg": b"\xff\xd8" + exif("<", 3) + scan + b"\xff\xd9",
    }
    for name, data in seeds.items():
        assert len(data) <= 4096, name  # the fuzz run's input limit
        (target / name).write_bytes(data)


main()
