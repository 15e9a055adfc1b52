#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Generates the four bitmap fonts of the screen preview from the Terminus Font.

Reads the Windows-1251 PCF files of Debian's package xfonts-terminus
(apt-get install xfonts-terminus) and writes src/render/fonts/*.inc:

  font 1   8 x 16  text   160 glyphs: bytes 32..127, then 192..255
  font 2  16 x 32  text   160 glyphs: the same bytes
  font 3  32 x 64  digits  20 glyphs: blank + - . : 0..9 T D N P R
  font 4  40 x 80  digits  20 glyphs: the same

Every glyph is one bit per pixel, rows of width/8 bytes, most significant bit
leftmost, glyph c starting at byte c * (width/8) * height. The digit fonts are
the 16 x 32 and 10 x 20 Terminus glyphs enlarged by the Scale2x pixel-art rule
(once, and twice), which keeps the edges sharp and rounds the diagonals.

Usage: python3 tools/fonts/make_fonts.py [--fonts DIR] [--out DIR]
Only the standard library is used.
"""

import argparse
import gzip
import os
import struct
import sys

PCF_METRICS = 1 << 2
PCF_BITMAPS = 1 << 3
PCF_BDF_ENCODINGS = 1 << 5
PCF_BDF_ACCELERATORS = 1 << 8
PCF_ACCELERATORS = 1 << 1

PCF_COMPRESSED_METRICS = 0x100


class PcfFont:
    """The glyphs of one PCF font, addressed by code (the font's own encoding)."""

    def __init__(self, data):
        if data[:4] != b"\x01fcp":
            raise ValueError("not a PCF font")
        (count,) = struct.unpack_from("<i", data, 4)
        self.tables = {}
        for i in range(count):
            ttype, tformat, size, offset = struct.unpack_from("<iiii", data, 8 + 16 * i)
            self.tables[ttype] = (tformat, size, offset)
        self.data = data
        self._read_accelerators()
        self._read_metrics()
        self._read_bitmaps()
        self._read_encodings()

    def _table(self, ttype):
        tformat, _size, offset = self.tables[ttype]
        (fmt,) = struct.unpack_from("<i", self.data, offset)
        endian = ">" if fmt & 4 else "<"
        return fmt, endian, offset + 4

    def _read_accelerators(self):
        ttype = PCF_BDF_ACCELERATORS if PCF_BDF_ACCELERATORS in self.tables else PCF_ACCELERATORS
        _fmt, e, pos = self._table(ttype)
        # eight flag bytes, then font ascent and descent
        self.ascent, self.descent = struct.unpack_from(e + "ii", self.data, pos + 8)

    def _read_metrics(self):
        fmt, e, pos = self._table(PCF_METRICS)
        self.metrics = []
        if fmt & PCF_COMPRESSED_METRICS:
            (n,) = struct.unpack_from(e + "h", self.data, pos)
            pos += 2
            for i in range(n):
                lb, rb, w, a, d = (b - 0x80 for b in self.data[pos + 5 * i: pos + 5 * i + 5])
                self.metrics.append((lb, rb, w, a, d))
        else:
            (n,) = struct.unpack_from(e + "i", self.data, pos)
            pos += 4
            for i in range(n):
                lb, rb, w, a, d, _attr = struct.unpack_from(e + "hhhhhH", self.data, pos + 12 * i)
                self.metrics.append((lb, rb, w, a, d))

    def _read_bitmaps(self):
        fmt, e, pos = self._table(PCF_BITMAPS)
        (n,) = struct.unpack_from(e + "i", self.data, pos)
        offsets = struct.unpack_from(e + "%di" % n, self.data, pos + 4)
        sizes = struct.unpack_from(e + "4i", self.data, pos + 4 + 4 * n)
        base = pos + 4 + 4 * n + 16
        pad = 1 << (fmt & 3)
        msb_bit = bool(fmt & 8)
        msb_byte = bool(fmt & 4)
        unit = 1 << ((fmt >> 4) & 3)
        raw = self.data[base: base + sizes[fmt & 3]]
        self.glyph_rows = []
        for g in range(n):
            lb, rb, _w, a, d = self.metrics[g]
            width, height = rb - lb, a + d
            stride = ((width + 7) // 8 + pad - 1) // pad * pad
            rows = []
            for r in range(height):
                row = bytearray(raw[offsets[g] + r * stride: offsets[g] + (r + 1) * stride])
                if unit > 1 and msb_byte != msb_bit:
                    for k in range(0, len(row), unit):
                        row[k:k + unit] = row[k:k + unit][::-1]
                bits = []
                for c in range(width):
                    byte = row[c // 8]
                    bit = (byte >> (7 - c % 8)) & 1 if msb_bit else (byte >> (c % 8)) & 1
                    bits.append(bit)
                rows.append(bits)
            self.glyph_rows.append(rows)

    def _read_encodings(self):
        _fmt, e, pos = self._table(PCF_BDF_ENCODINGS)
        min2, max2, min1, max1, default = struct.unpack_from(e + "5h", self.data, pos)
        count = (max2 - min2 + 1) * (max1 - min1 + 1)
        indices = struct.unpack_from(e + "%dH" % count, self.data, pos + 10)
        self.index_of = {}
        for i, gi in enumerate(indices):
            if gi == 0xFFFF:
                continue
            byte1, byte2 = divmod(i, max2 - min2 + 1)
            self.index_of[((byte1 + min1) << 8) | (byte2 + min2)] = gi

    def cell_width(self):
        return max(m[2] for m in self.metrics)

    def cell(self, code):
        """The glyph of code as a list of rows of 0/1 over the whole character cell."""
        width, height = self.cell_width(), self.ascent + self.descent
        out = [[0] * width for _ in range(height)]
        gi = self.index_of.get(code)
        if gi is None:
            return out
        lb, _rb, _w, a, _d = self.metrics[gi]
        top = self.ascent - a
        for r, bits in enumerate(self.glyph_rows[gi]):
            for c, bit in enumerate(bits):
                y, x = top + r, lb + c
                if bit and 0 <= y < height and 0 <= x < width:
                    out[y][x] = 1
        return out


def scale2x(rows):
    """The Scale2x (EPX) rule: doubles a 1-bit picture, rounding its diagonals."""
    h, w = len(rows), len(rows[0])

    def px(y, x):
        y = min(max(y, 0), h - 1)
        x = min(max(x, 0), w - 1)
        return rows[y][x]

    out = [[0] * (2 * w) for _ in range(2 * h)]
    for y in range(h):
        for x in range(w):
            p = rows[y][x]
            a, b, c, d = px(y - 1, x), px(y, x + 1), px(y, x - 1), px(y + 1, x)
            e0 = e1 = e2 = e3 = p
            if c == a and c != d and a != b:
                e0 = a
            if a == b and a != c and b != d:
                e1 = b
            if d == c and d != b and c != a:
                e2 = c
            if b == d and b != a and d != c:
                e3 = d
            out[2 * y][2 * x], out[2 * y][2 * x + 1] = e0, e1
            out[2 * y + 1][2 * x], out[2 * y + 1][2 * x + 1] = e2, e3
    return out


def fit(rows, width, height):
    """Centres a picture in a width x height cell (cropping or padding evenly)."""
    h, w = len(rows), len(rows[0])
    out = [[0] * width for _ in range(height)]
    dy, dx = (height - h) // 2, (width - w) // 2
    for y in range(h):
        for x in range(w):
            if rows[y][x] and 0 <= y + dy < height and 0 <= x + dx < width:
                out[y + dy][x + dx] = 1
    return out


def pack(rows, width):
    data = bytearray()
    for row in rows:
        for start in range(0, width, 8):
            byte = 0
            for bit in row[start:start + 8]:
                byte = (byte << 1) | bit
            data.append(byte)
    return data


TEXT_CODES = list(range(32, 128)) + list(range(192, 256))
DIGIT_CODES = [None] + [ord(ch) for ch in "+-.:0123456789TDNPR"]


def raise_glyph(rows, by):
    """Moves a glyph up by at most `by` rows, never cutting its top."""
    top = next((y for y, row in enumerate(rows) if any(row)), 0)
    by = min(by, top)
    return rows[by:] + [[0] * len(rows[0]) for _ in range(by)]


def text_font(font, width, height, raise_by=0):
    data = bytearray()
    for code in TEXT_CODES:
        data += pack(fit(raise_glyph(font.cell(code), raise_by), width, height), width)
    return data


def digit_font(font, width, height, doublings):
    data = bytearray()
    for code in DIGIT_CODES:
        rows = font.cell(code) if code is not None else [[0] * font.cell_width()]
        for _ in range(doublings):
            rows = scale2x(rows)
        data += pack(fit(rows, width, height), width)
    return data


def write_inc(path, name, source, width, height, glyphs, data):
    per_glyph = width // 8 * height
    assert len(data) == glyphs * per_glyph, (name, len(data))
    lines = [
        "// Generated by tools/fonts/make_fonts.py from %s (Terminus Font," % source,
        "// SIL Open Font License 1.1, see LICENSE-TerminusFont.txt). Do not edit.",
        "// %d x %d, %d glyphs, %d bytes per glyph." % (width, height, glyphs, per_glyph),
    ]
    for g in range(glyphs):
        chunk = data[g * per_glyph:(g + 1) * per_glyph]
        for start in range(0, len(chunk), 16):
            lines.append(" ".join("0x%02X," % b for b in chunk[start:start + 16]))
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def load(fonts_dir, name):
    path = os.path.join(fonts_dir, name)
    with open(path, "rb") as f:
        raw = f.read()
    if raw[:2] == b"\x1f\x8b":
        raw = gzip.decompress(raw)
    return PcfFont(raw)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--fonts", default="/usr/share/fonts/X11/misc")
    parser.add_argument("--out", default=os.path.normpath(os.path.join(here, "../../src/render/fonts")))
    args = parser.parse_args()

    try:
        small = load(args.fonts, "ter-u16b_cp1251.pcf.gz")
        large = load(args.fonts, "ter-u32b_cp1251.pcf.gz")
        medium = load(args.fonts, "ter-u20b_cp1251.pcf.gz")
    except FileNotFoundError as e:
        sys.exit("%s\nInstall the fonts first: apt-get install xfonts-terminus" % e)

    os.makedirs(args.out, exist_ok=True)
    write_inc(os.path.join(args.out, "Font8x16.inc"), "font 1", "ter-u16b_cp1251", 8, 16, 160,
              text_font(small, 8, 16))
    # The four-value screen draws the unit 24 rows below the name, so the large text glyphs
    # sit two rows higher than in Terminus: the name's capitals then stay whole.
    write_inc(os.path.join(args.out, "Font16x32.inc"), "font 2", "ter-u32b_cp1251", 16, 32, 160,
              text_font(large, 16, 32, raise_by=2))
    write_inc(os.path.join(args.out, "Digits32x64.inc"), "font 3", "ter-u32b_cp1251 doubled", 32, 64, 20,
              digit_font(large, 32, 64, 1))
    write_inc(os.path.join(args.out, "Digits40x80.inc"), "font 4", "ter-u20b_cp1251 doubled twice", 40, 80, 20,
              digit_font(medium, 40, 80, 2))


if __name__ == "__main__":
    main()
