#!/usr/bin/env python3
"""Enciphers the plain prefix list into the program's stored line entries.

usage: make_line_table.py [--plain] LIST OUTPUT

LIST holds ten prefixes, one a line, UTF-8; '#' comment lines and blank lines are skipped.
Each prefix is stored as GBK bytes, each byte XOR its keystream byte, written as two
upper-case hexadecimal digits and a comma. OUTPUT becomes a C++ source defining them.
With --plain, OUTPUT lists the plain GBK prefixes instead: for tests, never for the program.
"""
import sys

KEY = b"rop?t*lmwexo7"
ENTRY_COUNT = 10


def keystream(key, count):
    # Cells 0 to 255. The schedule and the stream differ from RC4 by the added 1s and
    # by I stepping by two.
    s = list(range(256))
    used = key[:256]  # a longer key contributes only its first 256 bytes
    k = [used[c % len(used)] for c in range(256)] if used else [0] * 256
    j = 255
    for i in range(256):
        j = (j + 1 + s[i] + k[i]) % 256
        s[i], s[j] = s[j], s[i]
    i = j = 255
    out = []
    for _ in range(count):
        i = (i + 2) % 256
        j = (j + 1 + s[i]) % 256
        s[i], s[j] = s[j], s[i]
        out.append(s[(s[i] + s[j]) % 256])
    return out


def make_entry(plain, key=KEY):
    stream = keystream(key, len(plain))
    return "".join("%02X," % (b ^ ks) for b, ks in zip(plain, stream))


def fail(path, line, message):
    sys.stderr.write("%s:%s: error: %s\n" % (path, line, message) if line else
                     "%s: error: %s\n" % (path, message))
    sys.exit(1)


def read_prefixes(path):
    try:
        raw = open(path, "rb").read()
    except OSError as error:
        fail(path, None, "cannot read the prefix list (%s)" % error.strerror)
    prefixes = []
    lines = raw.split(b"\n")
    if lines and lines[-1] == b"":
        lines.pop()
    for number, line in enumerate(lines, start=1):
        if line.endswith(b"\r"):
            line = line[:-1]
        if b"\0" in line:
            fail(path, number, "a prefix holds a NUL byte")
        try:
            text = line.decode("utf-8")
        except UnicodeDecodeError:
            fail(path, number, "the line is not UTF-8")
        stripped = text.strip()
        if stripped.startswith("#"):
            continue
        if not stripped:
            if text:
                fail(path, number, "an empty prefix (the line holds only blanks)")
            continue
        try:
            prefixes.append((number, text.encode("gbk")))
        except UnicodeEncodeError:
            fail(path, number, "the prefix holds a character that GBK cannot store")
    if len(prefixes) != ENTRY_COUNT:
        where = prefixes[ENTRY_COUNT][0] if len(prefixes) > ENTRY_COUNT else None
        fail(path, where, "the list holds %d prefixes; it needs exactly %d" % (len(prefixes), ENTRY_COUNT))
    return [prefix for _, prefix in prefixes]


def c_literal(data):
    return '"' + "".join("\\x%02X" % b for b in data) + '"'


def main(argv):
    plain = len(argv) > 1 and argv[1] == "--plain"
    if plain:
        argv = argv[:1] + argv[2:]
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    path, output = argv[1], argv[2]
    prefixes = read_prefixes(path)
    if plain:
        literals = [c_literal(prefix) for prefix in prefixes]
    else:
        literals = ['"%s"' % make_entry(prefix) for prefix in prefixes]
    text = "// Generated from the prefix list at build time; do not edit.\n"
    if plain:
        text += "".join("%s,\n" % literal for literal in literals)
    else:
        text += "#include \"lines/line_table.h\"\n\nnamespace lines {\n\n"
        text += "extern const std::array<std::string_view, 10> kStoredEntries;\n"
        text += "const std::array<std::string_view, 10> kStoredEntries = {\n"
        text += "".join("    %s,\n" % literal for literal in literals)
        text += "};\n\n}  // namespace lines\n"
    try:
        if open(output).read() == text:
            return 0  # unchanged: keep the time stamp, and so the build, as it is
    except OSError:
        pass
    with open(output, "w") as out:
        out.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
