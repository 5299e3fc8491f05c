#!/usr/bin/env python3
"""Checks the Windows package: one folder named like the zip holding exactly the three programs (each a
64-bit GUI program importing only system DLLs, with its manifest and version, see check_program.py),
le.txt beside Claverix.exe, the READMEs for Windows users and the licence.

    check_package.py [--make <cmake> <build folder>] <package.zip>

With --make, `<cmake> --build <build folder> --target package` makes the zip first.
"""
import os
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_program  # noqa: E402

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


def imported_names(path):
    out = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", path], capture_output=True, text=True, check=True)
    return {line.split()[-1] for line in out.stdout.splitlines() if line.strip()}


def check_timer(name, imports):
    if name not in FINE_SLEEPERS:
        return []
    return ["%s: does not call %s" % (name, call) for call in TIMER_CALLS if call not in imports]


def check_zip(path, check_exe=check_program.check, imports_of=imported_names):
    """Every problem of the package; `check_exe(path, icon groups)` gives those of one program and
    `imports_of(path)` the names it imports."""
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
            elif base == WORD_LIST:
                problems += check_word_list(data)
            else:
                problems += check_text(base, data)
    return problems


def main(argv):
    args = argv[1:]
    if len(args) == 4 and args[0] == "--make":
        cmake, build = args[1], args[2]
        made = subprocess.run([cmake, "--build", build, "--target", "package"])
        if made.returncode != 0:
            print("making the package failed")
            return 1
        args = args[3:]
    if len(args) != 1:
        print(__doc__)
        return 2
    problems = check_zip(args[0])
    for p in problems:
        print("%s: %s" % (args[0], p))
    if not problems:
        print("%s: the three programs, le.txt, the READMEs and the licence, all sound" % args[0])
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
