# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes a Windows icon (.ico) that carries the given square PNG images as they are
(Windows Vista and later read PNG entries): png-to-ico.py OUT.ico IN.png..."""
import struct
import sys

out, images = sys.argv[1], [open(p, "rb").read() for p in sys.argv[2:]]
header = struct.pack("<3H", 0, 1, len(images))
offset = len(header) + 16 * len(images)
entries, body = b"", b""
for png in images:
    if png[:8] != b"\x89PNG\r\n\x1a\n" or png[12:16] != b"IHDR":
        sys.exit("not a PNG image")
    width, height = struct.unpack(">2I", png[16:24])
    if width != height or width > 256:
        sys.exit("an icon image must be square and at most 256 pixels wide")
    size = width % 256  # 0 stands for 256
    entries += struct.pack("<4B2H2I", size, size, 0, 0, 1, 32, len(png), offset + len(body))
    body += png
with open(out, "wb") as f:
    f.write(header + entries + body)
