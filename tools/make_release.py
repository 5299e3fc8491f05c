#!/usr/bin/env python3
"""Makes the release files from a Windows build, the same bytes from the same commit wherever and whenever
they are made: every time stamp is the source date (SOURCE_DATE_EPOCH when set, else the last commit's time).

    make_release.py epoch <source folder> <file>         writes the source date into <file> (when it changed)
    make_release.py strip <epoch file> <program.exe> <program.exe.debug>
        moves the debug information and the symbol table of the linked program into the .debug file and
        leaves the program lean, with a debug link naming that file, its length a multiple of 8 and its PE
        checksum right (so removing a signature gives back exactly these bytes)
    make_release.py package <epoch file> <out folder> <name> <wxs> <program or text> ...
        <out folder>/<name>.zip (one folder <name>/ with the files), <name>-symbols.zip (the .debug files,
        taken from beside each program's debug link), <name>.msi (wixl with <wxs>, then the short names and
        the template's language wixl cannot write) and SHA256SUMS
    make_release.py installer <epoch file> <out.msi> <wxs> <program or text> ...
        the installer alone (the tests' older version)
    Environment for package: PRODUCT_VERSION, PRODUCT_CODE, ICON_DIR, SYMBOLS_DIR; for installer, the first three.
"""
import array
import calendar
import hashlib
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import uuid
import zipfile

OBJCOPY = "x86_64-w64-mingw32-objcopy"
# The zip format cannot hold an earlier time.
EARLIEST = 315532800  # 1980-01-01 00:00:00 UTC
SUMMARY_STREAM = "\x05SummaryInformation"
# Where a signature is kept in an installer.
MSI_SIGNATURE_STREAMS = ("\x05DigitalSignature", "\x05MsiDigitalSignatureEx")
PID_TEMPLATE, PID_REVISION, PID_CREATED, PID_SAVED = 7, 9, 12, 13
VT_LPSTR, VT_FILETIME = 30, 64


def source_date(source):
    """SOURCE_DATE_EPOCH when set, else the time of the commit checked out in `source`."""
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    made = subprocess.run(["git", "-C", source, "log", "-1", "--format=%ct"], capture_output=True, text=True)
    if made.returncode != 0 or not made.stdout.strip():
        sys.exit("make_release: %s is no git checkout; set SOURCE_DATE_EPOCH" % source)
    return int(made.stdout)


def read_epoch(path):
    with open(path) as f:
        return max(int(f.read()), EARLIEST)


def write_epoch(source, path):
    text = "%d\n" % source_date(source)
    if os.path.exists(path) and open(path).read() == text:
        return  # unchanged: nothing that depends on it is made again
    with open(path, "w") as f:
        f.write(text)


def strip(epoch, exe, debug):
    env = dict(os.environ, SOURCE_DATE_EPOCH=str(epoch))  # objcopy stamps the PE header with it
    os.makedirs(os.path.dirname(debug), exist_ok=True)
    subprocess.run([OBJCOPY, "--only-keep-debug", exe, debug], env=env, check=True)
    # The debug link names the file only, never the folder it was made in.
    lean = exe + ".lean"
    subprocess.run([OBJCOPY, "--strip-all", "--add-gnu-debuglink=" + debug, exe, lean], env=env, check=True)
    with open(lean, "rb") as f:
        data = seal_pe(f.read())
    with open(lean, "wb") as f:
        f.write(data)
    os.replace(lean, exe)


def checksum_offset(data):
    pe, = struct.unpack_from("<I", data, 0x3C)
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    return pe + 24 + 64  # OptionalHeader.CheckSum, at the same place in PE32 and PE32+


def pe_checksum(data):
    """The PE checksum: the file's 16-bit words summed with their carries folded back in, the CheckSum field
    counted as zero, plus the file's length."""
    at = checksum_offset(data)
    words = array.array("H", data[:at] + b"\0\0\0\0" + data[at + 4:] + b"\0" * (len(data) % 2))
    if sys.byteorder == "big":
        words.byteswap()
    total = sum(words)
    while total > 0xFFFF:
        total = (total & 0xFFFF) + (total >> 16)
    return total + len(data)


def seal_pe(data):
    """The program with zeros up to a multiple of 8 bytes and its PE checksum set. A signing tool pads the
    file so and sets the checksum before appending the signature, and removing the signature keeps both:
    only a program already so gets back its exact bytes. The zeros go into the COFF string table objcopy
    leaves at the end (the long section names), so that nothing lies outside the file's structures."""
    data = bytearray(data)
    pad = -len(data) % 8
    pe, = struct.unpack_from("<I", data, 0x3C)
    symbols, count = struct.unpack_from("<II", data, pe + 12)
    strings = symbols + 18 * count
    if pad and symbols and strings + 4 <= len(data):
        size, = struct.unpack_from("<I", data, strings)
        if strings + size == len(data):
            struct.pack_into("<I", data, strings, size + pad)
    data += b"\0" * pad
    struct.pack_into("<I", data, checksum_offset(data), pe_checksum(data))
    return bytes(data)


def zip_entry(name, epoch, is_folder=False):
    info = zipfile.ZipInfo(name, time.gmtime(epoch)[:6])
    info.create_system = 0  # MS-DOS: the same archive whatever system makes it
    info.external_attr = 0x10 if is_folder else 0x20  # directory / archive attribute
    info.compress_type = zipfile.ZIP_STORED if is_folder else zipfile.ZIP_DEFLATED
    return info


def write_zip(path, folder, files, epoch):
    """`files` is {name in the folder: path}; entries in name order, every one dated `epoch`."""
    with zipfile.ZipFile(path, "w") as archive:
        archive.writestr(zip_entry(folder + "/", epoch, True), b"")
        for name in sorted(files):
            with open(files[name], "rb") as f:
                archive.writestr(zip_entry(folder + "/" + name, epoch), f.read(), compresslevel=9)


def unpack_zip(path, work):
    """The folder, the date and {name in the folder: path of the file unpacked into `work`} of a zip that
    write_zip made; ValueError for any other."""
    with zipfile.ZipFile(path) as archive:
        entries = archive.infolist()
        folders = [e for e in entries if e.is_dir()]
        if len(folders) != 1 or any(not e.filename.startswith(folders[0].filename) for e in entries):
            raise ValueError("%s is not one folder as make_release.py writes it" % path)
        folder = folders[0].filename.rstrip("/")
        files = {}
        for entry in entries:
            if entry.is_dir():
                continue
            base = entry.filename[len(folder) + 1:]
            files[base] = os.path.join(work, base)
            with open(files[base], "wb") as f:
                f.write(archive.read(entry))
    return folder, calendar.timegm(folders[0].date_time), files


class CompoundFile:
    """The streams of a compound file (the container of an MSI), read and patched in place."""

    def __init__(self, data):
        self.data = data
        (self.sector_shift, self.mini_shift) = struct.unpack_from("<HH", data, 0x1E)
        fat_count, dir_start = struct.unpack_from("<II", data, 0x2C)
        self.cutoff, minifat_start, _, difat_start, difat_count = struct.unpack_from("<IIIII", data, 0x38)
        fat_sectors = list(struct.unpack_from("<109I", data, 0x4C))
        sector = difat_start
        for _ in range(difat_count):
            entries = struct.unpack_from("<%dI" % (self.sector_size // 4), data, self.offset(sector))
            fat_sectors += entries[:-1]
            sector = entries[-1]
        self.fat = []
        for s in fat_sectors[:fat_count]:
            self.fat += struct.unpack_from("<%dI" % (self.sector_size // 4), data, self.offset(s))
        self.minifat = []
        for s in self.chain(minifat_start):
            self.minifat += struct.unpack_from("<%dI" % (self.sector_size // 4), data, self.offset(s))
        self.entries = {}
        for s in self.chain(dir_start):
            for at in range(self.offset(s), self.offset(s) + self.sector_size, 128):
                name_bytes, = struct.unpack_from("<H", data, at + 64)
                name = data[at:at + max(name_bytes - 2, 0)].decode("utf-16-le")
                start, size = struct.unpack_from("<II", data, at + 116)
                self.entries.setdefault(name, (start, size))
        self.ministream = self.chain(self.entries["Root Entry"][0])

    @property
    def sector_size(self):
        return 1 << self.sector_shift

    def offset(self, sector):
        return (sector + 1) * self.sector_size

    def chain(self, start, table=None):
        table = self.fat if table is None else table
        sectors = []
        while start < 0xFFFFFFFA:
            sectors.append(start)
            start = table[start]
        return sectors

    def byte_offsets(self, name):
        """The file offset of every byte of the stream, in order."""
        start, size = self.entries[name]
        offsets = []
        if size < self.cutoff:
            mini = 1 << self.mini_shift
            for m in self.chain(start, self.minifat):
                at = m * mini
                base = self.offset(self.ministream[at // self.sector_size]) + at % self.sector_size
                offsets += range(base, base + mini)
        else:
            for s in self.chain(start):
                offsets += range(self.offset(s), self.offset(s) + self.sector_size)
        return offsets[:size]

    def read(self, name):
        return bytes(self.data[i] for i in self.byte_offsets(name))

    def patch(self, name, at, replacement):
        offsets = self.byte_offsets(name)
        for i, byte in enumerate(replacement):
            self.data[offsets[at + i]] = byte


def summary_properties(stream):
    """{property id: (type, offset of the value in the stream)} of the summary information."""
    section, = struct.unpack_from("<I", stream, 28 + 16)
    _, count = struct.unpack_from("<II", stream, section)
    found = {}
    for i in range(count):
        pid, at = struct.unpack_from("<II", stream, section + 8 + 8 * i)
        kind, = struct.unpack_from("<I", stream, section + at)
        found[pid] = (kind, section + at + 4)
    return found


def filetime(epoch):
    return struct.pack("<Q", (epoch + 11644473600) * 10000000)


def settle_msi(path, epoch):
    """wixl stamps the summary information with the time it runs and a random package code: both become the
    source date and a code drawn from the package's own bytes (so another content gives another code)."""
    with open(path, "rb") as f:
        cfb = CompoundFile(bytearray(f.read()))
    props = summary_properties(cfb.read(SUMMARY_STREAM))
    for pid in (PID_CREATED, PID_SAVED):
        kind, at = props[pid]
        assert kind == VT_FILETIME, "summary time of unexpected type %d" % kind
        cfb.patch(SUMMARY_STREAM, at, filetime(epoch))
    kind, at = props[PID_REVISION]
    assert kind == VT_LPSTR, "package code of unexpected type %d" % kind
    placeholder = b"{%s}" % str(uuid.UUID(int=0)).upper().encode()
    cfb.patch(SUMMARY_STREAM, at + 4, placeholder)
    code = uuid.UUID(bytes=hashlib.sha256(cfb.data).digest()[:16], version=4)
    cfb.patch(SUMMARY_STREAM, at + 4, b"{%s}" % str(code).upper().encode())
    with open(path, "wb") as f:
        f.write(cfb.data)


def summary_template(path):
    """The summary information's Template, "<platform>;<languages>"."""
    with open(path, "rb") as f:
        cfb = CompoundFile(bytearray(f.read()))
    stream = cfb.read(SUMMARY_STREAM)
    kind, at = summary_properties(stream)[PID_TEMPLATE]
    assert kind == VT_LPSTR, "template of unexpected type %d" % kind
    length, = struct.unpack_from("<I", stream, at)
    return stream[at + 4:at + 4 + length].rstrip(b"\0").decode("latin-1")


def set_template_language(path, language):
    """wixl always writes the template's language as 1033, whatever the product's. Patched in place, so the
    new template must keep the old one's length (a 4-digit language for a 4-digit one)."""
    old = summary_template(path)
    new = old.partition(";")[0] + ";" + language
    if len(new) != len(old):
        sys.exit("make_release: cannot turn the template %s into %s in place" % (old, new))
    with open(path, "rb") as f:
        cfb = CompoundFile(bytearray(f.read()))
    cfb.patch(SUMMARY_STREAM, summary_properties(cfb.read(SUMMARY_STREAM))[PID_TEMPLATE][1] + 4, new.encode())
    with open(path, "wb") as f:
        f.write(cfb.data)


def msi_times(path):
    """The summary information's creation and last-save times, as seconds since 1970."""
    with open(path, "rb") as f:
        cfb = CompoundFile(bytearray(f.read()))
    stream = cfb.read(SUMMARY_STREAM)
    props = summary_properties(stream)
    return [struct.unpack_from("<Q", stream, props[p][1])[0] // 10000000 - 11644473600
            for p in (PID_CREATED, PID_SAVED)]


# The columns holding a name on disk, which Windows Installer wants as "short|long" unless the name is a valid
# 8.3 one, each with the column naming the folder the name is in (File's is its component's folder).
FILENAME_COLUMNS = {
    "File": ("FileName", "Component_"),
    "Directory": ("DefaultDir", "Directory_Parent"),
    "Shortcut": ("Name", "Directory_"),
    "RemoveFile": ("FileName", "DirProperty"),
    "IniFile": ("FileName", "DirProperty"),
    "RemoveIniFile": ("FileName", "DirProperty"),
    "DuplicateFile": ("DestName", "DestFolder"),
    "MoveFile": ("DestName", "DestFolder"),
    "Signature": ("FileName", None),
    "IniLocator": ("FileName", None),
}
WILDCARD_COLUMNS = {("RemoveFile", "FileName")}
SHORT_CHARS = r"A-Za-z0-9!#$%&'()@^_`{}~-"


def is_short_name(name, wildcards=False):
    chars = ("*?" if wildcards else "") + SHORT_CHARS
    return re.fullmatch(r"[%s]{1,8}(\.[%s]{1,3})?" % (chars, chars), name) is not None


def table_reader(path):
    """A function giving the text `msiinfo export` prints for a table of the package, None for a table it
    does not have."""
    listed = subprocess.run(["msiinfo", "tables", path], capture_output=True, text=True, check=True)
    present = set(listed.stdout.split())

    def read(table):
        if table not in present:
            return None
        return subprocess.run(["msiinfo", "export", path, table], capture_output=True, check=True
                              ).stdout.decode("utf-8", "replace")
    return read


def parse_table(text):
    """(key columns, integer columns, rows as {column: value}) of an exported table; "" is NULL."""
    if text is None:
        return [], set(), []
    lines = text.split("\r\n" if "\r\n" in text else "\n")
    names, types, keys = (line.split("\t") for line in lines[:3])
    integers = {n for n, t in zip(names, types) if t[:1] in "iI"}
    rows = [dict(zip(names, line.split("\t"))) for line in lines[3:] if line]
    return keys[1:], integers, rows


def name_parts(table, value):
    """The names in a Filename value: DefaultDir may be "target:source"."""
    return value.split(":") if table == "Directory" else [value]


def filename_values(read):
    """(table, column, key columns, integer columns, row, folder) for every Filename value of the package.
    The root directory's DefaultDir names a property (SourceDir), not a folder, and is left out."""
    folder_of_component = {r["Component"]: r["Directory_"] for r in parse_table(read("Component"))[2]}
    for table in sorted(FILENAME_COLUMNS):
        column, folder_column = FILENAME_COLUMNS[table]
        keys, integers, rows = parse_table(read(table))
        for row in rows:
            if not row.get(column):
                continue
            folder = row.get(folder_column, "")
            if table == "File":
                folder = folder_of_component.get(folder, "")
            if table == "Directory" and folder in ("", row["Directory"]):
                continue
            yield table, column, keys, integers, row, folder


def has_short_name(part, wildcards=False):
    return part == "." or is_short_name(part.split("|")[0], wildcards)


def make_short_name(long_name, taken):
    """The first of NAME~1.EXT, NAME~2.EXT... not in `taken` (upper-case names), as Windows makes them."""
    base, dot, extension = long_name.rpartition(".")
    if not dot or not base:
        base, extension = long_name, ""
    clean = lambda text: "".join(c for c in text.upper() if c != "'" and is_short_name(c))
    base, extension = clean(base), clean(extension)[:3]
    for n in range(1, 1000000):
        tail = "~%d" % n
        name = base[:8 - len(tail)] + tail + ("." + extension if extension else "")
        if name not in taken:
            taken.add(name)
            return name


def short_name_updates(read):
    """The UPDATE statements giving every Filename value lacking one a short name, unique in its folder
    among the names already there; in table and row order, so the same package gets the same names."""
    values = list(filename_values(read))
    taken = {}
    for table, _, _, _, row, folder in values:
        for part in name_parts(table, row[FILENAME_COLUMNS[table][0]]):
            if has_short_name(part):
                taken.setdefault(folder, set()).add(part.split("|")[0].upper())
    updates = []
    for table, column, keys, integers, row, folder in values:
        if (table, column) in WILDCARD_COLUMNS:
            continue  # a made-up short name would change what the pattern matches
        parts = name_parts(table, row[column])
        if all(has_short_name(p) for p in parts):
            continue
        value = ":".join(p if has_short_name(p) else make_short_name(p, taken.setdefault(folder, set())) + "|" + p
                         for p in parts)
        quoted = lambda k: row[k] if k in integers else "'%s'" % row[k]
        if "'" in value or any("'" in row[k] for k in keys):
            sys.exit("make_release: msibuild cannot write %s's %s row %s, which holds a '" % (table, column, value))
        updates.append("UPDATE `%s` SET `%s` = '%s' WHERE %s" % (
            table, column, value, " AND ".join("`%s` = %s" % (k, quoted(k)) for k in keys)))
    return updates


def fix_tables(path):
    """What Windows Installer's validation wants and wixl cannot write: short names for the long names on
    disk, and the product's language in the summary's template."""
    read = table_reader(path)
    updates = short_name_updates(read)
    if updates:
        subprocess.run(["msibuild", path] + [a for u in updates for a in ("-q", u)], check=True)
    language = [r["Value"] for r in parse_table(read("Property"))[2] if r["Property"] == "ProductLanguage"]
    set_template_language(path, language[0])


def write_msi(path, wxs, files, epoch):
    """wixl in a fresh folder holding the source, the files and the icons, each dated `epoch` (the cabinet
    keeps every file's date); wixl takes only paths relative to where it runs."""
    icons = os.environ["ICON_DIR"]
    staged_files = dict(files, **{n: os.path.join(icons, n) for n in os.listdir(icons) if n.endswith(".ico")})
    with tempfile.TemporaryDirectory() as staged:
        for name, source in staged_files.items():
            shutil.copyfile(source, os.path.join(staged, name))
            os.utime(os.path.join(staged, name), (epoch, epoch))
        shutil.copyfile(wxs, os.path.join(staged, "package.wxs"))
        command = ["wixl", "-a", "x64", "-o", os.path.abspath(path), "package.wxs",
                   "-D", "Version=" + os.environ["PRODUCT_VERSION"], "-D", "ProductCode=" + os.environ["PRODUCT_CODE"]]
        # The cabinet stores local times.
        subprocess.run(command, cwd=staged, env=dict(os.environ, TZ="UTC"), check=True)
    fix_tables(path)
    settle_msi(path, epoch)


def package(epoch, out, name, wxs, paths):
    os.makedirs(out, exist_ok=True)
    files = {os.path.basename(p): p for p in paths}
    symbols = {n + ".debug": os.path.join(os.environ["SYMBOLS_DIR"], n + ".debug")
               for n in files if n.endswith(".exe")}
    made = package_names(name)
    write_zip(os.path.join(out, made[0]), name, files, epoch)
    write_zip(os.path.join(out, made[1]), name + "-symbols", symbols, epoch)
    write_msi(os.path.join(out, made[2]), wxs, files, epoch)
    write_sums(out, made)


def package_names(name):
    """The release's three packages: the zip, the symbols zip and the installer."""
    return [name + ".zip", name + "-symbols.zip", name + ".msi"]


def release_name(folder):
    """The name of the release whose SHA256SUMS is in `folder` (a build folder keeps the packages of earlier
    versions too); ValueError when that file does not name one installer."""
    try:
        with open(os.path.join(folder, "SHA256SUMS")) as f:
            installers = [line.split()[-1] for line in f if line.rstrip().endswith(".msi")]
    except OSError:
        installers = []
    if len(installers) != 1:
        raise ValueError("the SHA256SUMS of %s names %d installers, not one" % (folder, len(installers)))
    return installers[0][:-len(".msi")]


def write_sums(out, names):
    """<out>/SHA256SUMS: the SHA-256 of each of `names`, files of `out`."""
    with open(os.path.join(out, "SHA256SUMS"), "w", newline="\n") as sums:
        for name in names:
            with open(os.path.join(out, name), "rb") as f:
                sums.write("%s  %s\n" % (hashlib.sha256(f.read()).hexdigest(), name))


def main(argv):
    if len(argv) == 4 and argv[1] == "epoch":
        write_epoch(argv[2], argv[3])
    elif len(argv) == 5 and argv[1] == "strip":
        strip(read_epoch(argv[2]), argv[3], argv[4])
    elif len(argv) > 5 and argv[1] == "installer":
        os.makedirs(os.path.dirname(os.path.abspath(argv[3])), exist_ok=True)
        write_msi(argv[3], argv[4], {os.path.basename(p): p for p in argv[5:]}, read_epoch(argv[2]))
    elif len(argv) > 6 and argv[1] == "package":
        package(read_epoch(argv[2]), argv[3], argv[4], argv[5], argv[6:])
    else:
        print(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
