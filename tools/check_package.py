#!/usr/bin/env python3
"""Checks the release files of a Windows build (tools/make_release.py) in their folder:

- <name>.zip: one folder <name>/ holding exactly the three programs (each a 64-bit GUI program importing
  only system DLLs, with its manifest and version, see check_program.py), le.txt beside Claverix.exe, the
  READMEs for Windows users and the licence;
- each program lean (no debug section) with a debug link to its file in <name>-symbols.zip, whose CRC-32
  it records, and its length a multiple of 8 and its PE checksum right, so that a signature can be removed
  again to the exact bytes;
- the source date (as make_release.py takes it from <source folder>) in every program's PE time stamp,
  every entry of both zips and the installer's summary information;
- SHA256SUMS giving the right sum of each of the three packages, and nothing else;
- the installer's tables as Windows Installer's validation wants them: a valid short name for every name on
  disk, the product's language in the summary's template, every folder made in the user's profile removed
  by a RemoveFile row, and every component there kept by an HKCU registry value.

    check_package.py <release folder> <name> <source folder>
"""
import hashlib
import os
import struct
import subprocess
import sys
import tempfile
import time
import zipfile
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_program  # noqa: E402
import make_release  # noqa: E402

PROGRAMS = ("Claverix.exe", "Sellomar.exe", "Portaclip.exe")
# Their long loops sleep 1 ms per idle step: they must hold the timer at 1 ms, or on Windows every such sleep
# lasts a 15.6 ms tick.
FINE_SLEEPERS = ("Claverix.exe", "Sellomar.exe")
TIMER_CALLS = ("timeBeginPeriod", "timeEndPeriod")
TEXTS = ("LEEME.txt", "README.txt", "LICENSE.txt")
WORD_LIST = "le.txt"
EXPECTED = set(PROGRAMS) | set(TEXTS) | {WORD_LIST}

# Claverix draws line numbers 1 to 88036: more lines are never used, and a list far shorter than that
# makes most draws miss. Debian's list gives a little over 86,000 usable words.
DRAWN_LINES = 88036
FEWEST_WORDS = 80000
SHORTEST_WORD, LONGEST_WORD = 4, 18
# Bytes Windows-1252 leaves undefined: a list holding them was not converted.
UNDEFINED_1252 = {0x81, 0x8D, 0x8F, 0x90, 0x9D}


def check_layout(names, folder):
    """Every entry inside `folder`/, nothing missing, nothing more."""
    problems = []
    files = set()
    for name in names:
        if name.endswith("/"):
            if name.rstrip("/") != folder:
                problems.append("unexpected folder " + name)
            continue
        top, _, rest = name.partition("/")
        if top != folder or not rest or "/" in rest:
            problems.append("%s is not directly in %s/" % (name, folder))
            continue
        files.add(rest)
    problems += ["missing " + n for n in sorted(EXPECTED - files)]
    problems += ["unexpected file " + n for n in sorted(files - EXPECTED)]
    return problems


def crlf_lines(data, name):
    """The lines of a CR LF text, or the problem with its line ends."""
    if not data.endswith(b"\r\n"):
        return None, "%s does not end with CR LF" % name
    lines = data[:-2].split(b"\r\n")
    if any(b"\r" in line or b"\n" in line for line in lines):
        return None, "%s has a line end other than CR LF" % name
    return lines, None


def check_word_list(data):
    lines, problem = crlf_lines(data, WORD_LIST)
    if problem:
        return [problem]
    problems = []
    if not FEWEST_WORDS <= len(lines) <= DRAWN_LINES:
        problems.append("le.txt has %d lines, expected %d to %d" % (len(lines), FEWEST_WORDS, DRAWN_LINES))
    if any(not line for line in lines):
        problems.append("le.txt has empty lines")
    if b"\x1a" in data:
        problems.append("le.txt holds 0x1A, which ends Claverix's reading")
    if any(bytes([b]) in data for b in UNDEFINED_1252):
        problems.append("le.txt holds bytes Windows-1252 does not define")
    if b"\xc3\xb1" in data or b"\xc3\xa1" in data:
        problems.append("le.txt looks like UTF-8, not Windows-1252")
    lengths = {len(line) for line in lines}
    missing = [n for n in range(SHORTEST_WORD, LONGEST_WORD + 1) if n not in lengths]
    if missing:
        problems.append("le.txt has no word of %s letters" % ", ".join(map(str, missing)))
    return problems


def check_text(name, data):
    lines, problem = crlf_lines(data, name)
    if problem:
        return [problem]
    problems = []
    text = data.decode("cp1252", "replace")
    if name != "LICENSE.txt":
        problems += ["%s does not mention %s" % (name, p) for p in PROGRAMS if p not in text]
    elif "MIT License" not in text or "Velmor Soft" not in text:
        problems.append("LICENSE.txt is not the MIT licence of Velmor Soft")
    if len(lines) < 10:
        problems.append("%s is nearly empty" % name)
    return problems


def called_names(path):
    """The functions the program imports, and the timer calls it looks up by name in winmm, which it loads
    from the system folder itself (the name of each call and the library's wide name are in the file)."""
    out = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", path], capture_output=True, text=True, check=True)
    names = {line.split()[-1] for line in out.stdout.splitlines() if line.strip()}
    with open(path, "rb") as f:
        data = f.read()
    if "\\winmm.dll".encode("utf-16-le") in data:
        names |= {call for call in TIMER_CALLS if b"\0" + call.encode() + b"\0" in data}
    return names


def check_timer(name, imports):
    if name not in FINE_SLEEPERS:
        return []
    return ["%s: does not call %s" % (name, call) for call in TIMER_CALLS if call not in imports]


def pe_facts(path):
    """The PE time stamp of the program and {section name: bytes} of its sections."""
    with open(path, "rb") as f:
        data = f.read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    stamp, = struct.unpack_from("<I", data, pe + 8)
    out = subprocess.run(["x86_64-w64-mingw32-objdump", "-h", path], capture_output=True, text=True, check=True)
    sections = {}
    for line in out.stdout.splitlines():
        fields = line.split()
        # Idx Name Size VMA LMA File-off Align
        if len(fields) == 7 and fields[0].isdigit():
            size, offset = int(fields[2], 16), int(fields[5], 16)
            sections[fields[1]] = data[offset:offset + size]
    return stamp, sections


def check_lean(name, facts, symbols, epoch):
    """A shipped program: no debug section, a debug link to its symbols file (`symbols`: {file name: bytes})
    recording that file's CRC-32, and the source date as its PE time stamp."""
    stamp, sections = facts
    problems = ["%s: debug section %s" % (name, s) for s in sorted(sections) if s.startswith(".debug")]
    if stamp != epoch:
        problems.append("%s: PE time stamp %d, not the source date %d" % (name, stamp, epoch))
    link = sections.get(".gnu_debuglink", b"")
    if b"\0" not in link or len(link) < 8:
        return problems + ["%s: no debug link" % name]
    target = link[:link.index(b"\0")].decode("latin-1")
    crc, = struct.unpack_from("<I", link, len(link) - 4)
    if target not in symbols:
        problems.append("%s: its debug link names %s, which the symbols zip lacks" % (name, target))
    elif zlib.crc32(symbols[target]) != crc:
        problems.append("%s: %s is not its symbols file (CRC-32 differs)" % (name, target))
    return problems


def check_sealed(name, data):
    """What make_release.seal_pe leaves: without it a signed program no longer gives back these bytes."""
    problems = []
    if len(data) % 8:
        problems.append("%s: %d bytes, not a multiple of 8" % (name, len(data)))
    written, = struct.unpack_from("<I", data, make_release.checksum_offset(data))
    if written != make_release.pe_checksum(data):
        problems.append("%s: PE checksum %08X, not %08X" % (name, written, make_release.pe_checksum(data)))
    return problems


def read_file(path):
    with open(path, "rb") as f:
        return f.read()


def check_entry_times(path, epoch):
    """Every entry of the zip dated the source date (zip times are UTC here, to 2 seconds)."""
    expected = time.gmtime(epoch - epoch % 2)[:6]
    with zipfile.ZipFile(path) as archive:
        return ["%s: %s dated %s, not the source date" % (os.path.basename(path), i.filename, i.date_time)
                for i in archive.infolist() if i.date_time != expected]


def check_sums(folder, packages):
    path = os.path.join(folder, "SHA256SUMS")
    if not os.path.isfile(path):
        return ["no SHA256SUMS"]
    expected = set()
    for p in packages:
        with open(os.path.join(folder, p), "rb") as f:
            expected.add("%s  %s" % (hashlib.sha256(f.read()).hexdigest(), p))
    with open(path) as f:
        listed = set(f.read().splitlines())
    return (["SHA256SUMS lacks the right line for " + line.split()[-1] for line in sorted(expected - listed)] +
            ["SHA256SUMS has a wrong line: " + line for line in sorted(listed - expected)])


# The folders of the user's profile (the package installs per user, so the start menu and the desktop are the
# user's too), and what a custom action may set a folder to that puts it there.
PROFILE_FOLDERS = {"AppDataFolder", "LocalAppDataFolder", "ProgramMenuFolder", "StartMenuFolder", "StartupFolder",
                   "DesktopFolder", "PersonalFolder", "FavoritesFolder", "SendToFolder", "TemplateFolder",
                   "MyPicturesFolder", "NetHoodFolder", "PrintHoodFolder", "RecentFolder", "AdminToolsFolder"}
PROFILE_PATHS = ("[%USERPROFILE]", "[%APPDATA]", "[%LOCALAPPDATA]", "[%HOMEPATH]") + tuple(
    "[%s]" % f for f in sorted(PROFILE_FOLDERS))
SET_DIRECTORY, SET_PROPERTY = 35, 51
HKCU = "1"


def msi_tables(path):
    return make_release.table_reader(path), make_release.summary_template(path)


def profile_folders(read):
    """The folders of the package that are in the user's profile: under one of its folders, or under a folder
    a custom action sets to a path there."""
    parents = {r["Directory"]: r["Directory_Parent"] for r in make_release.parse_table(read("Directory"))[2]}
    set_there = {r["Source"] for r in make_release.parse_table(read("CustomAction"))[2]
                 if int(r["Type"]) & 0x3F in (SET_DIRECTORY, SET_PROPERTY)
                 and any(p in r["Target"] for p in PROFILE_PATHS)}
    found = set()
    for start in parents:
        folder, seen = start, set()
        while folder and folder not in seen:
            if folder in PROFILE_FOLDERS or folder in set_there:
                found.add(start)
                break
            seen.add(folder)
            folder = parents.get(folder)
    return found


def check_tables(read, template):
    """The installer's problems with Windows Installer's validation; `read(table)` gives the text msiinfo
    exports for a table (None for a table the package lacks), `template` the summary's Template."""
    problems = []
    for table, column, keys, _, row, _ in make_release.filename_values(read):
        wildcards = (table, column) in make_release.WILDCARD_COLUMNS
        if not all(make_release.has_short_name(p, wildcards) for p in make_release.name_parts(table, row[column])):
            problems.append("%s %s: %s %s has no valid short name" % (
                table, "/".join(row[k] for k in keys), column, row[column]))
    languages = [r["Value"] for r in make_release.parse_table(read("Property"))[2]
                 if r["Property"] == "ProductLanguage"]
    if not languages or languages[0] not in template.partition(";")[2].split(","):
        problems.append("the template %s does not give the product's language %s" % (template, "".join(languages)))
    in_profile = profile_folders(read)
    removed = {r["DirProperty"] for r in make_release.parse_table(read("RemoveFile"))[2] if not r["FileName"]}
    problems += ["folder %s is in the user's profile and nothing removes it" % d
                 for d in sorted(in_profile - PROFILE_FOLDERS - removed)]
    hkcu = {r["Registry"] for r in make_release.parse_table(read("Registry"))[2] if r["Root"] == HKCU}
    problems += ["component %s is in the user's profile and its key path is no HKCU registry value" % r["Component"]
                 for r in make_release.parse_table(read("Component"))[2]
                 if r["Directory_"] in in_profile and r["KeyPath"] not in hkcu]
    return problems


def check_release(folder, name, epoch, check_exe=check_program.check, imports_of=called_names,
                  facts_of=pe_facts, msi_times=make_release.msi_times, msi_tables=msi_tables,
                  sealed=check_sealed):
    """Every problem of the release files; `facts_of`, `msi_times` and `msi_tables` give what pe_facts,
    make_release.msi_times and msi_tables read from a program and from the installer, `sealed(name, bytes)`
    the problems check_sealed finds."""
    packages = make_release.package_names(name)
    missing = [p for p in packages if not os.path.isfile(os.path.join(folder, p))]
    if missing:
        return ["no " + p for p in missing]
    package, symbols_zip, msi = (os.path.join(folder, p) for p in packages)
    with zipfile.ZipFile(symbols_zip) as archive:
        symbols = {i.filename.split("/")[-1]: archive.read(i) for i in archive.infolist() if not i.is_dir()}
    problems = check_zip(package, check_exe, imports_of,
                         lambda n, exe: check_lean(n, facts_of(exe), symbols, epoch) + sealed(n, read_file(exe)))
    problems += check_entry_times(package, epoch) + check_entry_times(symbols_zip, epoch)
    problems += ["%s: summary time %d, not the source date" % (packages[2], t) for t in msi_times(msi) if t != epoch]
    problems += ["%s: %s" % (packages[2], p) for p in check_tables(*msi_tables(msi))]
    return problems + check_sums(folder, packages)


def check_zip(path, check_exe=check_program.check, imports_of=called_names, check_more=lambda name, exe: []):
    """Every problem of the package; `check_exe(path, icon groups)` gives those of one program,
    `imports_of(path)` the names it imports and `check_more(name, path)` anything else."""
    if not os.path.isfile(path):
        return ["no package " + path]
    folder = os.path.basename(path)[:-len(".zip")]
    problems = []
    with zipfile.ZipFile(path) as archive, tempfile.TemporaryDirectory() as unpacked:
        names = archive.namelist()
        problems += check_layout(names, folder)
        for name in sorted(set(names) & {folder + "/" + f for f in EXPECTED}):
            base = name.split("/", 1)[1]
            data = archive.read(name)
            if base in PROGRAMS:
                exe = os.path.join(unpacked, base)
                with open(exe, "wb") as f:
                    f.write(data)
                problems += [base + ": " + p for p in check_exe(exe, [])]
                problems += check_timer(base, imports_of(exe))
                problems += check_more(base, exe)
            elif base == WORD_LIST:
                problems += check_word_list(data)
            else:
                problems += check_text(base, data)
    return problems


def main(argv):
    if len(argv) != 4:
        print(__doc__)
        return 2
    folder, name, source = argv[1:]
    problems = check_release(folder, name, max(make_release.source_date(source), make_release.EARLIEST))
    for p in problems:
        print("%s: %s" % (folder, p))
    if not problems:
        print("%s: the three programs (lean, their symbols beside, ready to sign), le.txt, the READMEs and the "
              "licence, all sound, dated the source date, the installer's tables valid, and the sums right"
              % folder)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
