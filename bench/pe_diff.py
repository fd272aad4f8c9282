#!/usr/bin/env python3
"""Where two builds of a PE file differ: each differing byte range named by the header
field or section it lies in, so that a reproducibility failure says what to fix.

usage: pe_diff.py A.exe B.exe     (exit 0 when identical, 1 when not)
"""
import struct
import sys


def fields(data):
    """[(start, end, name)] of the header fields that builds tend to stamp, and the sections."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    optional = pe + 24
    sections_count = struct.unpack_from("<H", data, pe + 6)[0]
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    known = [(pe + 8, pe + 12, "COFF header TimeDateStamp"), (optional + 64, optional + 68, "optional header CheckSum")]
    table = optional + optional_size
    sections = []
    for i in range(sections_count):
        name, vsize, va, rsize, raw = struct.unpack_from("<8sIIII", data, table + 40 * i)
        sections.append((raw, raw + rsize, va, name.rstrip(b"\0").decode("latin-1")))
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)

    def file_offset(rva):
        for raw, end, va, _ in sections:
            if va <= rva < va + (end - raw):
                return raw + rva - va
        return None

    for index, label in ((0, "export directory"), (2, "resource directory"), (6, "debug directory")):
        rva, size = struct.unpack_from("<II", data, directories + 8 * index)
        at = file_offset(rva) if size else None
        if at is not None:
            known.append((at + 4, at + 8, label + " TimeDateStamp"))
    return known, [(raw, end, "section " + name) for raw, end, _, name in sections]


def ranges(a, b):
    start = None
    for i in range(max(len(a), len(b))):
        same = i < len(a) and i < len(b) and a[i] == b[i]
        if not same and start is None:
            start = i
        elif same and start is not None:
            yield start, i
            start = None
    if start is not None:
        yield start, max(len(a), len(b))


def describe(data, start, end):
    try:
        known, sections = fields(data)
    except (struct.error, IndexError):
        return "not a PE file"
    for low, high, name in known + sections:
        if low <= start < high:
            return name
    return "headers" if start < 0x400 else "outside the sections"


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    a, b = (open(path, "rb").read() for path in argv[1:])
    if a == b:
        print("identical")
        return 0
    if len(a) != len(b):
        print("sizes differ: %d and %d bytes" % (len(a), len(b)))
    differing = list(ranges(a, b))
    for start, end in differing[:20]:
        print("  0x%06x-0x%06x (%d bytes): %s" % (start, end, end - start, describe(a, start, end)))
    if len(differing) > 20:
        print("  ... %d ranges in all" % len(differing))
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
