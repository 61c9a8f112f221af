# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads an X window dump (xwd) from standard input, as its header describes it (pixel
size, byte order, colour masks), and either counts its strongly red pixels
(--count-red: the charts' lines are the window's only red) or writes it as a PNG
(--png FILE). Refuses a dump it cannot read, a colour-mapped one among them."""
import struct
import sys
import zlib


def read_rgb(data):
    header_size, _, pixmap_format, _, width, height = struct.unpack(">6I", data[:24])
    byte_order = struct.unpack(">I", data[28:32])[0]
    bits_per_pixel, bytes_per_line, visual_class = struct.unpack(">3I", data[44:56])
    masks = struct.unpack(">3I", data[56:68])
    ncolors = struct.unpack(">I", data[76:80])[0]
    if pixmap_format != 2 or visual_class not in (4, 5) or bits_per_pixel % 8 or not all(masks):
        sys.exit("cannot read a window dump with format %d, visual class %d, %d bits per pixel"
                 % (pixmap_format, visual_class, bits_per_pixel))
    size = bits_per_pixel // 8
    order = "little" if byte_order == 0 else "big"
    channels = []
    for mask in masks:
        shift = (mask & -mask).bit_length() - 1
        channels.append((shift, mask >> shift))
    pixels = data[header_size + 12 * ncolors:]
    rows = []
    for y in range(height):
        row = pixels[y * bytes_per_line:(y + 1) * bytes_per_line]
        out = bytearray()
        for x in range(width):
            value = int.from_bytes(row[size * x:size * (x + 1)], order)
            out += bytes(((value >> shift) & top) * 255 // top for shift, top in channels)
        rows.append(bytes(out))
    return width, height, rows


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + row for row in rows)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">2I5B", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def main():
    width, height, rows = read_rgb(sys.stdin.buffer.read())
    if sys.argv[1:2] == ["--count-red"]:
        print(sum(1 for row in rows for i in range(0, len(row), 3)
                  if row[i] > 200 and row[i + 1] < 80 and row[i + 2] < 80))
    elif sys.argv[1:2] == ["--png"] and len(sys.argv) == 3:
        write_png(sys.argv[2], width, height, rows)
    else:
        sys.exit("usage: xwd-image.py --count-red | --png FILE")


main()
