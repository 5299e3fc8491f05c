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
        taken from beside each program's debug link), <name>.msi (wixl with <wxs>) and SHA256SUMS
    Environment for package: PRODUCT_VERSION, PRODUCT_CODE, ICON_DIR, SYMBOLS_DIR.
"""
import array
import hashlib
import os
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
PID_REVISION, PID_CREATED, PID_SAVED = 9, 12, 13
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


def msi_times(path):
    """The summary information's creation and last-save times, as seconds since 1970."""
    with open(path, "rb") as f:
        cfb = CompoundFile(bytearray(f.read()))
    stream = cfb.read(SUMMARY_STREAM)
    props = summary_properties(stream)
    return [struct.unpack_from("<Q", stream, props[p][1])[0] // 10000000 - 11644473600
            for p in (PID_CREATED, PID_SAVED)]


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
    settle_msi(path, epoch)


def package(epoch, out, name, wxs, paths):
    os.makedirs(out, exist_ok=True)
    files = {os.path.basename(p): p for p in paths}
    symbols = {n + ".debug": os.path.join(os.environ["SYMBOLS_DIR"], n + ".debug")
               for n in files if n.endswith(".exe")}
    made = [name + ".zip", name + "-symbols.zip", name + ".msi"]
    write_zip(os.path.join(out, made[0]), name, files, epoch)
    write_zip(os.path.join(out, made[1]), name + "-symbols", symbols, epoch)
    write_msi(os.path.join(out, made[2]), wxs, files, epoch)
    write_sums(out, made)


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
    elif len(argv) > 6 and argv[1] == "package":
        package(read_epoch(argv[2]), argv[3], argv[4], argv[5], argv[6:])
    else:
        print(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
