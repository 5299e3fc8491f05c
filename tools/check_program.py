#!/usr/bin/env python3
"""Checks a built program: 64-bit GUI, only system DLLs imported, and the resources every program carries
(manifest asking for common controls 6, asInvoker and DPI awareness; a version resource; the icon groups).

Usage: check_program.py <program.exe> <icon group id> [<icon group id> ...]
"""
import struct
import subprocess
import sys

SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll", "ole32.dll",
    "oleaut32.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "winmm.dll", "ucrtbase.dll",
}
RT_ICON_GROUP, RT_VERSION, RT_MANIFEST = 14, 16, 24


def pe_layout(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
    optional = pe + 24
    magic, = struct.unpack_from("<H", data, optional)
    subsystem, = struct.unpack_from("<H", data, optional + 68)
    directories = optional + (112 if magic == 0x20B else 96)
    rsrc_rva, _ = struct.unpack_from("<II", data, directories + 2 * 8)
    table = optional + optional_size
    section_list = []
    for i in range(sections):
        _, vsize, vaddr, rawsize, rawptr = struct.unpack_from("<8sIIII", data, table + 40 * i)
        section_list.append((vaddr, max(vsize, rawsize), rawptr))
    return machine, magic, subsystem, rsrc_rva, section_list


def rva_to_offset(rva, sections):
    for vaddr, size, rawptr in sections:
        if vaddr <= rva < vaddr + size:
            return rva - vaddr + rawptr
    raise ValueError("RVA outside sections")


def resources(data, rsrc_rva, sections):
    """{type id: {name id: bytes of the first language}}"""
    base = rva_to_offset(rsrc_rva, sections)

    def entries(offset):
        named, ids = struct.unpack_from("<HH", data, base + offset + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", data, base + offset + 16 + 8 * i)
            yield name, target

    found = {}
    for type_id, type_dir in entries(0):
        if type_id & 0x80000000:
            continue
        for name_id, name_dir in entries(type_dir & 0x7FFFFFFF):
            for _, leaf in entries(name_dir & 0x7FFFFFFF):
                data_rva, size = struct.unpack_from("<II", data, base + leaf)
                start = rva_to_offset(data_rva, sections)
                found.setdefault(type_id, {})[name_id] = data[start:start + size]
                break
    return found


def imported_dlls(path):
    out = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", path], capture_output=True, text=True, check=True)
    return {line.split(":", 1)[1].strip().lower() for line in out.stdout.splitlines() if "DLL Name:" in line}


def check(path, icon_groups):
    data = open(path, "rb").read()
    machine, magic, subsystem, rsrc_rva, sections = pe_layout(data)
    problems = []
    if machine != 0x8664 or magic != 0x20B:
        problems.append("not a 64-bit program")
    if subsystem != 2:
        problems.append("not a GUI program (subsystem %d)" % subsystem)
    foreign = imported_dlls(path) - SYSTEM_DLLS
    if foreign:
        problems.append("imports DLLs that a bare Windows lacks: " + ", ".join(sorted(foreign)))
    res = resources(data, rsrc_rva, sections)
    manifest = res.get(RT_MANIFEST, {}).get(1, b"").decode("utf-8", "replace")
    for needed in ('name="Microsoft.Windows.Common-Controls" version="6.0.0.0"', 'level="asInvoker"',
                   ">true</dpiAware>"):
        if needed not in manifest:
            problems.append("manifest lacks " + needed)
    version = res.get(RT_VERSION, {}).get(1, b"")
    if "FileVersion".encode("utf-16-le") not in version:
        problems.append("no version resource")
    for group in icon_groups:
        if group not in res.get(RT_ICON_GROUP, {}):
            problems.append("no icon group %d" % group)
    return problems


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    problems = check(sys.argv[1], [int(g) for g in sys.argv[2:]])
    for p in problems:
        print("%s: %s" % (sys.argv[1], p))
    if not problems:
        print("%s: 64-bit GUI, system DLLs only, manifest, version and icons present" % sys.argv[1])
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
