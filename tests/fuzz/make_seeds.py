#!/usr/bin/env python3
"""Writes the fuzz targets' seed inputs.

usage: make_seeds.py PROJECT_DIR SEED_DIR

SEED_DIR/pictures: the program's PNGs, and a few of them cut short (after the signature,
after the header chunk, in the image data, before the end chunk), and a chunk that declares
a length of nearly 2 GB while a few bytes follow.
SEED_DIR/line_cipher: key-length bytes, key, then a stored entry or a plain text.
"""
import glob
import os
import shutil
import struct
import sys


def write(path, data):
    with open(path, "wb") as out:
        out.write(data)


def picture_seeds(project, folder):
    pictures = sorted(glob.glob(os.path.join(project, "assets", "*.png")))
    if len(pictures) != 27:
        sys.exit("make_seeds.py: expected the 27 pictures of assets/, found %d" % len(pictures))
    for path in pictures:
        shutil.copyfile(path, os.path.join(folder, os.path.basename(path)))
    for name in ("background.png", "interface1_hover.png", "close_normal.png"):
        data = open(os.path.join(project, "assets", name), "rb").read()
        stem = name[:-4]
        for label, end in (("signature", 8), ("header", 33), ("half", len(data) // 2), ("no-end", len(data) - 12)):
            write(os.path.join(folder, "%s-cut-%s.png" % (stem, label)), data[:end])
    header = open(os.path.join(project, "assets", "close_normal.png"), "rb").read()[:33]
    write(os.path.join(folder, "text-chunk-claims-2gb.png"),
          header + struct.pack(">I", 0x73524742) + b"iTXt" + b"\xff\xff\xff\xab\xdf\x1a\x7c")


def cipher_seed(key, rest):
    return bytes([len(key) & 0xFF, len(key) >> 8]) + key + rest


def cipher_seeds(project, folder):
    sys.path.insert(0, os.path.join(project, "lines"))
    sys.dont_write_bytecode = True  # leave no cache in the source tree
    import make_line_table  # the build's own enciphering, for realistic entries

    key = make_line_table.KEY
    seeds = {
        "empty": cipher_seed(b"", b""),
        "stored-entry": cipher_seed(key, make_line_table.make_entry(b"http://127.0.0.1:47811/line1/?u=", key).encode()),
        "gbk-text": cipher_seed(key, "接口1 http://v.example/?a=1".encode("gbk")),
        "no-key": cipher_seed(b"", b"41,42,43,"),
        "long-key": cipher_seed(bytes(range(1, 256)) + b"abcdefghij", b"0f,Zz,1"),
    }
    for name, data in seeds.items():
        write(os.path.join(folder, name), data)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    project, seeds = argv[1], argv[2]
    for name, make in (("pictures", picture_seeds), ("line_cipher", cipher_seeds)):
        folder = os.path.join(seeds, name)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        make(project, folder)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
