#!/usr/bin/env python3
"""The exe as a file: a 32-bit GUI program that imports only Windows system DLLs, holds
exactly its icon group, one icon and its version block, and no plain prefix.

usage: check_exe.py EXE PREFIX_LIST
"""
import struct
import sys
import unittest

EXE = sys.argv.pop(1)
PREFIX_LIST = sys.argv.pop(1)
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "ole32.dll", "oleaut32.dll", "msvcrt.dll",
               "advapi32.dll", "shell32.dll", "comctl32.dll", "uuid.dll"}
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24


class Pe:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        assert data[pe:pe + 4] == b"PE\0\0"
        self.machine, sections, _, _, _, optional_size, self.characteristics = struct.unpack_from(
            "<HHIIIHH", data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        directories = optional + 96
        self.directory = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(16)]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            name, vsize, va, rsize, raw = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode(), va, max(vsize, rsize), raw))

    def offset(self, rva):
        for _, va, size, raw in self.sections:
            if va <= rva < va + size:
                return raw + rva - va
        raise ValueError("rva %x outside the sections" % rva)

    def cstring(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode()

    def imported_dlls(self):
        rva, _ = self.directory[1]
        names, at = [], self.offset(rva)
        while True:
            lookup, _, _, name, thunk = struct.unpack_from("<IIIII", self.data, at)
            if lookup == 0 and name == 0 and thunk == 0:
                return names
            names.append(self.cstring(name))
            at += 20

    def resources(self):
        """{(type, name): [(language, data)]} with names as ints or strings."""
        rva, _ = self.directory[2]
        base = self.offset(rva)

        def entries(at):
            named, ids = struct.unpack_from("<HH", self.data, at + 12)
            for i in range(named + ids):
                key, target = struct.unpack_from("<II", self.data, at + 16 + 8 * i)
                if key & 0x80000000:
                    o = base + (key & 0x7FFFFFFF)
                    length = struct.unpack_from("<H", self.data, o)[0]
                    key = self.data[o + 2:o + 2 + 2 * length].decode("utf-16-le")
                yield key, target

        found = {}
        for type_, t in entries(base):
            for name, n in entries(base + (t & 0x7FFFFFFF)):
                for language, leaf in entries(base + (n & 0x7FFFFFFF)):
                    data_rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    start = self.offset(data_rva)
                    found.setdefault((type_, name), []).append((language, self.data[start:start + size]))
        return found


def plain_prefixes(path):
    lines = open(path, encoding="utf-8").read().splitlines()
    return [l for l in lines if l.strip() and not l.strip().startswith("#")]


class ExeFile(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.data = open(EXE, "rb").read()
        cls.pe = Pe(cls.data)

    def test_a_32_bit_windows_gui_program(self):
        self.assertEqual(self.pe.machine, 0x14C)  # Intel 80386
        self.assertEqual(self.pe.magic, 0x10B)  # PE32
        self.assertEqual(self.pe.subsystem, 2)  # Windows GUI

    def test_imports_only_windows_system_dlls(self):
        dlls = [d.lower() for d in self.pe.imported_dlls()]
        self.assertTrue(dlls)
        self.assertEqual([d for d in dlls if d not in SYSTEM_DLLS], [])
        self.assertNotIn("zlib1.dll", dlls)

    def test_resources_are_the_icon_group_its_icon_and_the_version_block(self):
        resources = self.pe.resources()
        self.assertEqual(sorted((t, n if isinstance(n, str) else "#") for t, n in resources),
                         [(RT_ICON, "#"), (RT_GROUP_ICON, "DEFAULT_ICON"), (RT_VERSION, "#")])
        (language, group), = resources[(RT_GROUP_ICON, "DEFAULT_ICON")]
        self.assertEqual(language, 0)  # neutral
        reserved, kind, count = struct.unpack_from("<HHH", group, 0)
        self.assertEqual((kind, count), (1, 1))
        width, height, _, _, planes, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", group, 6)
        self.assertEqual((width, height, bits), (32, 27, 32))
        (_, image), = resources[(RT_ICON, icon_id)]
        header_size, bmp_width, bmp_height, _, bmp_bits = struct.unpack_from("<IiiHH", image, 0)
        self.assertEqual((bmp_width, bmp_height, bmp_bits), (32, 54, 32))
        pixels = image[header_size:header_size + 32 * 27 * 4]
        self.assertTrue(all(pixels[i:i + 3] == b"\0\0\0" for i in range(0, len(pixels), 4)), "all black")
        alphas = set(pixels[3::4])
        self.assertIn(0, alphas)
        self.assertIn(255, alphas)

    def test_version_block(self):
        (language, block), = self.pe.resources()[(RT_VERSION, 1)]
        text = block.decode("utf-16-le", "replace")
        fixed = block.index(struct.pack("<I", 0xFEEF04BD))
        (_, _, file_ms, file_ls, product_ms, product_ls, _, flags, os_, type_, _) = struct.unpack_from(
            "<IIIIIIIIIII", block, fixed)
        self.assertEqual((file_ms, file_ls, product_ms, product_ls), (0x10000, 0, 0x10000, 0))
        self.assertEqual((flags, os_, type_), (0, 0x4, 1))  # VOS__WINDOWS32, VFT_APP
        self.assertIn("080404B0", text.upper())
        for key in ("FileVersion", "ProductVersion", "FileDescription", "ProductName", "CompanyName",
                    "LegalCopyright", "Comments"):
            self.assertIn(key, text)
        self.assertIn("1.0.0.0", text)
        self.assertIn(struct.pack("<HH", 0x0804, 0x04B0), block[block.index("Translation".encode("utf-16-le")):])

    def test_no_plain_prefix_in_the_file(self):
        for prefix in plain_prefixes(PREFIX_LIST):
            for form in (prefix.encode("gbk"), prefix.encode("utf-16-le")):
                self.assertNotIn(form, self.data, prefix)


if __name__ == "__main__":
    unittest.main()
