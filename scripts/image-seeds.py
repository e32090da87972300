#!/usr/bin/env python3
"""Writes the seeds of fuzz_image into the folder given: small images of each format the
preview's decoder reads, each behind the byte that picks its format (0 PNG, 1 TIFF, 2 JPEG,
3 GIF, 4 BMP)."""
import pathlib
import struct
import sys
import zlib

out = pathlib.Path(sys.argv[1])
out.mkdir(parents=True, exist_ok=True)


def png(width, height):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + bytes((x * 40 + y * 60) % 256 for x in range(width * 3)) for y in range(height))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def tiff(width, height):
    pixels = bytes((x * 50 + y * 20) % 256 for y in range(height) for x in range(width * 3))
    entries = [(256, 3, 1, width), (257, 3, 1, height), (258, 3, 1, 8), (259, 3, 1, 1), (262, 3, 1, 2),
               (273, 4, 1, 0), (277, 3, 1, 3), (278, 3, 1, height), (279, 4, 1, len(pixels))]
    ifd_size = 2 + 12 * len(entries) + 4
    offset = 8 + ifd_size
    body = struct.pack("<H", len(entries))
    for tag, kind, count, value in entries:
        if tag == 273:
            value = offset
        body += struct.pack("<HHII", tag, kind, count, value) if kind == 4 else struct.pack("<HHIHH", tag, kind, count, value, 0)
    return b"II*\0" + struct.pack("<I", 8) + body + b"\0\0\0\0" + pixels


def bmp(width, height):
    row = (width * 3 + 3) // 4 * 4
    pixels = b"".join(bytes((x * 30 + y) % 256 for x in range(width * 3)).ljust(row, b"\0") for y in range(height))
    return (b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54)
            + struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0) + pixels)


gif = bytes.fromhex("474946383961010001008000""00ff0000000000""2c00000000010001000002024401003b")
seeds = {"png": (0, png(4, 3)), "tiff": (1, tiff(3, 2)), "gif": (3, gif), "bmp": (4, bmp(5, 2))}
for name, (selector, data) in seeds.items():
    (out / f"seed-{name}").write_bytes(bytes([selector]) + data)
for path in pathlib.Path(__file__).resolve().parent.parent.joinpath("tests/data").glob("*.png"):
    (out / f"seed-{path.name}").write_bytes(b"\0" + path.read_bytes())
