#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints what a Windows program says of itself, read from its PE resources.

    peinfo.py FILE              its version information, one "Key=Value" a line: the fixed part
                                (FixedFileVersion, FixedProductVersion), every string of every
                                string table as "Key=Value"
                                (its table lower-case, as "StringTable=041904b0") and the translations
                                ("Translation=0x0419,1200")
    peinfo.py --manifest FILE   its manifest (resource type 24) as stored

Exits 1 when the file holds no such resource or is no PE file.
"""
import struct
import sys

RT_VERSION = 16
RT_MANIFEST = 24


class Pe:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE header")
        sections, _, _, _, optional_size, _ = struct.unpack_from("<HIIIHH", data, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + (112 if magic == 0x20B else 96)
        self.rsrc_rva, self.rsrc_size = struct.unpack_from("<II", data, directories + 2 * 8)
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            vsize, vaddr, raw_size, raw_ptr = struct.unpack_from("<IIII", data, table + 40 * i + 8)
            self.sections.append((vaddr, max(vsize, raw_size), raw_ptr))

    def offset(self, rva):
        for vaddr, size, raw in self.sections:
            if vaddr <= rva < vaddr + size:
                return raw + rva - vaddr
        raise ValueError("address 0x%x outside every section" % rva)

    def resources(self, wanted_type):
        """The data of every resource of one type (all names, all languages)."""
        if not self.rsrc_rva:
            return []
        base = self.offset(self.rsrc_rva)
        found = []

        def walk(directory, depth, type_id):
            named, ids = struct.unpack_from("<HH", self.data, base + directory + 12)
            for i in range(named + ids):
                name, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
                if depth == 0:
                    if name & 0x80000000 or name != wanted_type:
                        continue
                    type_id = name
                if target & 0x80000000:
                    walk(target & 0x7FFFFFFF, depth + 1, type_id)
                else:
                    rva, size = struct.unpack_from("<II", self.data, base + target)
                    start = self.offset(rva)
                    found.append(self.data[start:start + size])

        walk(0, 0, None)
        return found


def version_blocks(data, start, end):
    """The blocks of a VERSIONINFO resource from start to end: (key, value bytes, type, children)."""
    pos = start
    while pos + 6 <= end:
        length, value_length, value_type = struct.unpack_from("<HHH", data, pos)
        if length == 0:
            break
        block_end = min(pos + length, end)
        key_end = pos + 6
        while data[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = data[pos + 6:key_end].decode("utf-16-le")
        value_start = (key_end + 2 + 3) & ~3
        # Text values count their length in UTF-16 units, binary ones in bytes.
        value_bytes = value_length * 2 if value_type == 1 else value_length
        value = data[value_start:value_start + value_bytes]
        children = (value_start + value_bytes + 3) & ~3
        yield key, value, value_type, (children, block_end)
        pos = (block_end + 3) & ~3


def version_lines(block):
    lines = []
    for key, value, _, (cstart, cend) in version_blocks(block, 0, len(block)):
        if key != "VS_VERSION_INFO":
            continue
        if len(value) >= 52 and struct.unpack_from("<I", value, 0)[0] == 0xFEEF04BD:
            fms, fls, pms, pls = struct.unpack_from("<IIII", value, 8)
            lines.append("FixedFileVersion=%d.%d.%d.%d" % (fms >> 16, fms & 0xFFFF, fls >> 16, fls & 0xFFFF))
            lines.append("FixedProductVersion=%d.%d.%d.%d" % (pms >> 16, pms & 0xFFFF, pls >> 16, pls & 0xFFFF))
        for info, _, _, (istart, iend) in version_blocks(block, cstart, cend):
            for table, tvalue, _, (tstart, tend) in version_blocks(block, istart, iend):
                if info == "StringFileInfo":
                    lines.append("StringTable=" + table.lower())
                    for name, text, _, _ in version_blocks(block, tstart, tend):
                        lines.append("%s=%s" % (name, text.decode("utf-16-le").rstrip("\0")))
                elif info == "VarFileInfo" and table == "Translation":
                    for i in range(0, len(tvalue) - 3, 4):
                        lang, codepage = struct.unpack_from("<HH", tvalue, i)
                        lines.append("Translation=0x%04x,%d" % (lang, codepage))
    return lines


def main(argv):
    manifest = len(argv) == 3 and argv[1] == "--manifest"
    if len(argv) != 2 and not manifest:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    path = argv[-1]
    try:
        with open(path, "rb") as f:
            pe = Pe(f.read())
        found = pe.resources(RT_MANIFEST if manifest else RT_VERSION)
    except (OSError, ValueError, struct.error) as e:
        print("peinfo.py: %s: %s" % (path, e), file=sys.stderr)
        return 1
    if not found:
        print("peinfo.py: %s: no %s" % (path, "manifest" if manifest else "version information"), file=sys.stderr)
        return 1
    if manifest:
        sys.stdout.write(found[0].decode("utf-8-sig", errors="replace"))
    else:
        for block in found:
            print("\n".join(version_lines(block)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
