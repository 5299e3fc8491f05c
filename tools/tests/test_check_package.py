#!/usr/bin/env python3
"""Checks tools/check_package.py on small zips made here: the layout, the word list, the texts, that a
program the program check refuses fails the package, the release checks (lean programs and their
symbols, dates, sums) on release folders written with tools/make_release.py's zip writer, the installer's
table checks and make_release.py's short names on tables written here as msiinfo exports them, and the
padding and PE checksum make_release.py gives a program so that a signature can be removed to its exact bytes.

    python3 tools/tests/test_check_package.py
"""
import hashlib
import os
import struct
import sys
import tempfile
import unittest
import zipfile
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir))
import check_package  # noqa: E402
import make_release  # noqa: E402

FOLDER = "Contrasenas-1.0.0-win64"
PROGRAMS = ("Claverix.exe", "Sellomar.exe", "Portaclip.exe")


def word_list(count=80000, extra=b""):
    words = [b"x" * (4 + i % 15) for i in range(count)]  # every length from 4 to 18
    return b"".join(w + b"\r\n" for w in words) + extra


def readme(name):
    lines = ["%s line %d" % (name, i) for i in range(12)] + list(PROGRAMS)
    return "\r\n".join(lines).encode("cp1252") + b"\r\n"


LICENCE = b"MIT License\r\n\r\nCopyright (c) 2026 Velmor Soft\r\n" + b"terms\r\n" * 12


def good_entries():
    entries = {p: b"MZ fake " + p.encode() for p in PROGRAMS}
    entries["le.txt"] = word_list()
    entries["LEEME.txt"] = readme("Espa\xf1ol")
    entries["README.txt"] = readme("English")
    entries["LICENSE.txt"] = LICENCE
    return entries


class PackageTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        self.checked = []

    def fake_check(self, path, icons):
        self.checked.append(os.path.basename(path))
        with open(path, "rb") as f:
            data = f.read()
        return ["not a 64-bit program"] if b"BAD" in data else []

    def fake_imports(self, path):
        with open(path, "rb") as f:
            data = f.read()
        return {"timeEndPeriod"} if b"NOTIMER" in data else {"timeBeginPeriod", "timeEndPeriod", "Sleep"}

    def check(self, entries, folder=FOLDER):
        path = os.path.join(self.folder.name, FOLDER + ".zip")
        with zipfile.ZipFile(path, "w") as archive:
            for name, data in entries.items():
                archive.writestr(name if "/" in name else folder + "/" + name, data)
        return check_package.check_zip(path, self.fake_check, self.fake_imports)

    def test_sound_package_passes_and_every_program_is_checked(self):
        self.assertEqual(self.check(good_entries()), [])
        self.assertEqual(sorted(self.checked), sorted(PROGRAMS))

    def test_layout_problems(self):
        cases = [
            ("missing program", lambda e: e.pop("Portaclip.exe"), "missing Portaclip.exe"),
            ("missing word list", lambda e: e.pop("le.txt"), "missing le.txt"),
            ("extra file", lambda e: e.update({"notes.tmp": b"x"}), "unexpected file notes.tmp"),
            ("word list in a subfolder", lambda e: e.update({FOLDER + "/data/le.txt": word_list()}),
             "not directly in"),
        ]
        for label, change, expected in cases:
            with self.subTest(label):
                entries = good_entries()
                change(entries)
                problems = self.check(entries)
                self.assertTrue(any(expected in p for p in problems), problems)

    def test_files_outside_the_named_folder_are_refused(self):
        problems = self.check(good_entries(), folder="otro")
        self.assertIn("missing Claverix.exe", problems)
        self.assertTrue(any("not directly in" in p for p in problems), problems)

    def test_a_refused_program_fails_the_package(self):
        entries = good_entries()
        entries["Sellomar.exe"] = b"MZ BAD"
        self.assertEqual(self.check(entries), ["Sellomar.exe: not a 64-bit program"])

    def test_programs_that_sleep_must_hold_the_timer(self):
        for program, expected in [("Claverix.exe", ["Claverix.exe: does not call timeBeginPeriod"]),
                                  ("Sellomar.exe", ["Sellomar.exe: does not call timeBeginPeriod"]),
                                  ("Portaclip.exe", [])]:
            with self.subTest(program):
                entries = good_entries()
                entries[program] = b"MZ NOTIMER"
                self.assertEqual(self.check(entries), expected)

    def test_word_list_problems(self):
        cases = [
            ("too short", word_list(79999), "le.txt has 79999 lines, expected 80000 to 88036"),
            ("too long", word_list(88037), "le.txt has 88037 lines, expected 80000 to 88036"),
            ("lone line feed", word_list() + b"abcd\n", "CR LF"),
            ("empty line", word_list() + b"\r\n", "empty lines"),
            ("end-of-text byte", word_list() + b"ab\x1acd\r\n", "0x1A"),
            ("undefined byte", word_list() + b"ab\x81cd\r\n", "does not define"),
            ("UTF-8", word_list() + "ca\u00f1a\r\n".encode("utf-8"), "UTF-8"),
            ("no 18-letter word", b"".join(b"x" * 5 + b"\r\n" for _ in range(80000)), "18"),
        ]
        for label, data, expected in cases:
            with self.subTest(label):
                problems = check_package.check_word_list(data)
                self.assertTrue(any(expected in p for p in problems), problems)
        self.assertEqual(check_package.check_word_list(word_list(88036)), [])  # every line drawn

    def test_text_problems(self):
        cases = [
            ("README.txt", readme("x").replace(b"\r\n", b"\n"), "CR LF"),
            ("LEEME.txt", readme("x").replace(b"Sellomar.exe", b"S.exe"), "does not mention Sellomar.exe"),
            ("LICENSE.txt", LICENCE.replace(b"Velmor", b"Otro"), "not the MIT licence"),
            ("README.txt", b"Claverix.exe Sellomar.exe Portaclip.exe\r\n", "nearly empty"),
        ]
        for name, data, expected in cases:
            with self.subTest(name + " " + expected):
                problems = check_package.check_text(name, data)
                self.assertTrue(any(expected in p for p in problems), problems)

    def test_missing_zip_is_reported(self):
        self.assertEqual(check_package.check_zip(os.path.join(self.folder.name, "none.zip")),
                         ["no package " + os.path.join(self.folder.name, "none.zip")])


EPOCH = 1796767952  # an even number of seconds, which a zip entry can hold exactly


def debug_link(name, data):
    link = name.encode() + b"\0"
    link += b"\0" * (-len(link) % 4)
    return link + struct.pack("<I", zlib.crc32(data))


class ReleaseTest(unittest.TestCase):
    """A release folder as make_release.py writes it, with fake programs whose PE facts the test gives."""

    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        self.symbols = {p + ".debug": b"symbols of " + p.encode() for p in PROGRAMS}
        self.facts = {p: (EPOCH, {
            ".text": b"code", ".gnu_debuglink": debug_link(p + ".debug", self.symbols[p + ".debug"])})
                      for p in PROGRAMS}
        self.msi_times = [EPOCH, EPOCH]
        self.tables = good_tables()
        self.template = "x64;1034"
        self.unsealed = set()

    def put(self, entries):
        paths = {name: os.path.join(self.folder.name, name) for name in entries}
        for name, data in entries.items():
            with open(paths[name], "wb") as f:
                f.write(data)
        return paths

    def write(self, epoch=EPOCH, symbols=None):
        files, symbol_files = self.put(good_entries()), self.put(symbols or self.symbols)
        out = os.path.join(self.folder.name, "dist")
        os.makedirs(out, exist_ok=True)
        make_release.write_zip(os.path.join(out, FOLDER + ".zip"), FOLDER, files, epoch)
        make_release.write_zip(os.path.join(out, FOLDER + "-symbols.zip"), FOLDER + "-symbols", symbol_files, EPOCH)
        with open(os.path.join(out, FOLDER + ".msi"), "wb") as f:
            f.write(b"installer")
        with open(os.path.join(out, "SHA256SUMS"), "w") as sums:
            for p in (FOLDER + ".zip", FOLDER + "-symbols.zip", FOLDER + ".msi"):
                with open(os.path.join(out, p), "rb") as f:
                    sums.write("%s  %s\n" % (hashlib.sha256(f.read()).hexdigest(), p))
        return out

    def check(self, out):
        def facts_of(exe):
            with open(exe, "rb") as f:
                return self.facts[f.read()[len(b"MZ fake "):].decode()]
        return check_package.check_release(out, FOLDER, EPOCH, lambda path, icons: [],
                                           lambda path: {"timeBeginPeriod", "timeEndPeriod"}, facts_of,
                                           lambda msi: self.msi_times,
                                           lambda msi: (self.tables.get, self.template),
                                           lambda n, data: [n + ": not sealed"] if n in self.unsealed else [])

    def test_sound_release_passes(self):
        self.assertEqual(self.check(self.write()), [])

    def test_release_problems(self):
        def with_debug_section():
            self.facts["Portaclip.exe"][1][".debug_info"] = b"dwarf"
        def stamped_at_link_time():
            self.facts["Claverix.exe"] = (EPOCH + 3600, self.facts["Claverix.exe"][1])
        def sums_made_before_a_change():
            with open(os.path.join(out, FOLDER + ".msi"), "ab") as f:
                f.write(b" changed")
        cases = [
            ("debug section", with_debug_section, {}, "Portaclip.exe: debug section .debug_info"),
            ("PE time stamp", stamped_at_link_time, {}, "Claverix.exe: PE time stamp"),
            ("zip entry times", lambda: None, {"epoch": EPOCH + 7200}, "dated"),
            ("symbols of another build", lambda: None,
             {"symbols": dict(self.symbols, **{"Sellomar.exe.debug": b"other"})},
             "Sellomar.exe.debug is not its symbols file"),
            ("installer time", lambda: self.msi_times.__setitem__(1, EPOCH - 1), {}, "summary time"),
            ("not sealed", lambda: self.unsealed.add("Sellomar.exe"), {}, "Sellomar.exe: not sealed"),
            ("sums", sums_made_before_a_change, {}, "SHA256SUMS lacks the right line for %s.msi" % FOLDER),
            ("installer tables", lambda: setattr(self, "template", "x64;1033"), {},
             FOLDER + ".msi: the template x64;1033 does not give the product's language 1034"),
        ]
        for label, change, written, expected in cases:
            with self.subTest(label):
                self.setUp()
                out = self.write(**written)
                change()
                problems = self.check(out)
                self.assertTrue(any(expected in p for p in problems), problems)


TABLES = {  # columns, types, key columns
    "Directory": ("Directory Directory_Parent DefaultDir", "s72 S72 l255", "Directory"),
    "File": ("File Component_ FileName Sequence", "s72 s72 l255 i4", "File"),
    "Component": ("Component Directory_ Attributes KeyPath", "s72 s72 i2 S72", "Component"),
    "Shortcut": ("Shortcut Directory_ Name Component_", "s72 s72 l128 s72", "Shortcut"),
    "RemoveFile": ("FileKey Component_ FileName DirProperty InstallMode", "s72 s72 L255 s72 i2", "FileKey"),
    "Registry": ("Registry Root Key Name Component_", "s72 i2 l255 L255 s72", "Registry"),
    "CustomAction": ("Action Type Source Target", "s72 i2 S72 S255", "Action"),
    "Property": ("Property Value", "s72 l0", "Property"),
}


def table(name, rows):
    columns, types, keys = TABLES[name]
    head = [columns.replace(" ", "\t"), types.replace(" ", "\t"), name + "\t" + keys.replace(" ", "\t")]
    return "".join(line + "\n" for line in head + ["\t".join(r) for r in rows])


def good_tables(**rows):
    """The suite's tables as they should be: in %USERPROFILE%\\Contrasenas and a start menu folder."""
    tables = {
        "Directory": [("TARGETDIR", "", "SourceDir"), ("INSTALLDIR", "TARGETDIR", "CONTRA~1|Contrasenas"),
                      ("ProgramMenuFolder", "TARGETDIR", "."),
                      ("MenuFolder", "ProgramMenuFolder", "CONTRA~1|Contrasenas")],
        "File": [("Claverix.exe", "Claverix", "Claverix.exe", "1"),
                 ("Portaclip.exe", "Portaclip", "PORTAC~1.EXE|Portaclip.exe", "2")],
        "Component": [("Claverix", "INSTALLDIR", "4", "regClaverix"), ("Portaclip", "INSTALLDIR", "4", "regPortaclip"),
                      ("MenuShortcuts", "MenuFolder", "4", "regMenu")],
        "Shortcut": [("PortaclipShortcut", "MenuFolder", "PORTAC~1|Portaclip", "MenuShortcuts")],
        "RemoveFile": [("InstallFolder", "Claverix", "", "INSTALLDIR", "2"),
                       ("MenuFolder", "MenuShortcuts", "", "MenuFolder", "2")],
        "Registry": [(key, "1", "Software\\Velmor Soft\\Contrasenas", key[3:], key[3:])
                     for key in ("regClaverix", "regPortaclip", "regMenu")],
        "CustomAction": [("SetInstallDir", "51", "INSTALLDIR", "[%USERPROFILE]\\Contrasenas")],
        "Property": [("ProductLanguage", "1034")],
    }
    tables.update(rows)
    return {name: table(name, r) for name, r in tables.items()}


class TablesTest(unittest.TestCase):
    """The installer's tables against Windows Installer's validation rules, each broken in turn."""

    def check(self, template="x64;1034", **rows):
        return check_package.check_tables(good_tables(**rows).get, template)

    def assert_problems(self, cases):
        for label, rows, expected in cases:
            with self.subTest(label):
                self.assertIn(expected, self.check(**rows))

    def test_sound_tables_pass(self):
        self.assertEqual(self.check(), [])

    def test_names_on_disk_need_a_short_name(self):
        menu = lambda name: {"Directory": [("TARGETDIR", "", "SourceDir"), ("ProgramMenuFolder", "TARGETDIR", "."),
                                           ("MenuFolder", "ProgramMenuFolder", name)]}
        self.assert_problems([
            ("file", {"File": [("Portaclip.exe", "Portaclip", "Portaclip.exe", "2")]},
             "File Portaclip.exe: FileName Portaclip.exe has no valid short name"),
            ("folder", menu("Contrasenas"), "Directory MenuFolder: DefaultDir Contrasenas has no valid short name"),
            ("source folder", menu("CONTRA~1|Contrasenas:Contrasenas"),
             "Directory MenuFolder: DefaultDir CONTRA~1|Contrasenas:Contrasenas has no valid short name"),
            ("shortcut", {"Shortcut": [("PortaclipShortcut", "MenuFolder", "Portaclip", "MenuShortcuts")]},
             "Shortcut PortaclipShortcut: Name Portaclip has no valid short name"),
            ("character no short name holds", {"File": [("P.exe", "Portaclip", "PORTA+1.EXE|Portaclip.exe", "2")]},
             "File P.exe: FileName PORTA+1.EXE|Portaclip.exe has no valid short name"),
            ("4-letter extension", {"File": [("L.txt", "Claverix", "LEEME.text", "3")]},
             "File L.txt: FileName LEEME.text has no valid short name"),
        ])

    def test_template_gives_the_product_language(self):
        self.assertIn("the template x64;1033 does not give the product's language 1034", self.check("x64;1033"))

    def test_folders_in_the_profile_are_removed(self):
        removes_menu = [("MenuFolder", "MenuShortcuts", "", "MenuFolder", "2")]
        self.assert_problems([
            ("folder a custom action puts in the profile", {"RemoveFile": removes_menu},
             "folder INSTALLDIR is in the user's profile and nothing removes it"),
            ("a file removed, not the folder", {"RemoveFile": [
                ("InstallFolder", "Claverix", "", "INSTALLDIR", "2"),
                ("Old", "MenuShortcuts", "*.lnk", "MenuFolder", "2")]},
             "folder MenuFolder is in the user's profile and nothing removes it"),
            ("folder under a profile folder", {"Directory": [
                ("TARGETDIR", "", "SourceDir"), ("LocalAppDataFolder", "TARGETDIR", "."),
                ("UserPrograms", "LocalAppDataFolder", "Programs"),
                ("INSTALLDIR", "UserPrograms", "CONTRA~1|Contrasenas"),
                ("ProgramMenuFolder", "TARGETDIR", "."), ("MenuFolder", "ProgramMenuFolder", "CONTRA~1|Contrasenas")]},
             "folder UserPrograms is in the user's profile and nothing removes it"),
        ])

    def test_components_in_the_profile_are_kept_by_hkcu_values(self):
        hklm = [(key, "2" if key == "regMenu" else "1", "Software\\Velmor Soft", key[3:], key[3:])
                for key in ("regClaverix", "regPortaclip", "regMenu")]
        self.assert_problems([
            ("file key path", {"Component": [("Claverix", "INSTALLDIR", "0", "Claverix.exe")]},
             "component Claverix is in the user's profile and its key path is no HKCU registry value"),
            ("HKLM value", {"Registry": hklm},
             "component MenuShortcuts is in the user's profile and its key path is no HKCU registry value"),
        ])
        outside = self.check(Component=[("Claverix", "INSTALLDIR", "0", "Claverix.exe")], CustomAction=[
            ("SetInstallDir", "51", "INSTALLDIR", "[ProgramFiles64Folder]Contrasenas")])
        self.assertEqual(outside, [])

    def test_short_names_made_unique_in_their_folder(self):
        tables = good_tables(File=[("Portaclip.exe", "Portaclip", "Portaclip.exe", "1"),
                                   ("Old.exe", "Claverix", "PORTAC~1.EXE|Portaold.exe", "2"),
                                   ("Portacarta.exe", "Claverix", "Portacarta.exe", "3")])
        self.assertEqual(make_release.short_name_updates(tables.get), [
            "UPDATE `File` SET `FileName` = 'PORTAC~2.EXE|Portaclip.exe' WHERE `File` = 'Portaclip.exe'",
            "UPDATE `File` SET `FileName` = 'PORTAC~3.EXE|Portacarta.exe' WHERE `File` = 'Portacarta.exe'"])


def tiny_pe(body, strings=None, checksum=0):
    """DOS header, PE signature, COFF header and a PE32+ optional header of zeros, then `body` and, when
    given, a COFF string table holding `strings` at the very end, as objcopy leaves it."""
    head = bytearray(0x40 + 4 + 20 + 240)
    head[0:2] = b"MZ"
    struct.pack_into("<I", head, 0x3C, 0x40)
    head[0x40:0x44] = b"PE\0\0"
    table = len(head) + len(body) if strings is not None else 0
    struct.pack_into("<HHIIIHH", head, 0x44, 0x8664, 0, 0, table, 0, 240, 0)
    struct.pack_into("<H", head, 0x58, 0x20B)
    struct.pack_into("<I", head, 0x58 + 64, checksum)
    tail = struct.pack("<I", 4 + len(strings)) + strings if strings is not None else b""
    return bytes(head) + body + tail


class SealTest(unittest.TestCase):
    def test_checksum_folds_carries_skips_its_field_and_adds_the_length(self):
        data = tiny_pe(b"\xff\xff" * 3 + b"\x01", checksum=0xFFFFFFFF)
        # 0x5A4D "MZ" + 0x40 + 0x4550 "PE" + 0x8664 + 0xF0 + 0x20B + 3 * 0xFFFF + 0x01 (the odd last byte)
        # = 0x4293A, folded 0x293E, plus 335 bytes
        self.assertEqual(make_release.pe_checksum(data), 0x2A8D)

    def test_padding_goes_into_the_string_table_and_the_checksum_covers_it(self):
        data = tiny_pe(b"code", b".gnu_debuglink\0")
        self.assertEqual(len(data), 351)
        sealed = make_release.seal_pe(data)
        self.assertEqual(len(sealed), 352)
        self.assertEqual(sealed[-20:], struct.pack("<I", 20) + b".gnu_debuglink\0\0")
        self.assertEqual(sealed[:0x98] + sealed[0x9C:-20], data[:0x98] + data[0x9C:-19])  # all but the checksum
        self.assertEqual(check_package.check_sealed("Claverix.exe", sealed), [])
        self.assertEqual(make_release.seal_pe(sealed), sealed)

    def test_unpadded_or_wrongly_summed_programs_are_reported(self):
        sealed = make_release.seal_pe(tiny_pe(b"code", b".gnu_debuglink\0"))
        self.assertEqual(check_package.check_sealed("Portaclip.exe", sealed + b"\0"), [
            "Portaclip.exe: 353 bytes, not a multiple of 8", "Portaclip.exe: PE checksum 0000E076, not 0000E077"])
        stale = sealed[:-20] + struct.pack("<I", 4) + sealed[-16:]  # changed after the checksum was set
        self.assertEqual(check_package.check_sealed("Sellomar.exe", stale),
                         ["Sellomar.exe: PE checksum 0000E076, not 0000E066"])


if __name__ == "__main__":
    unittest.main()
