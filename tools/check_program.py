#!/usr/bin/env python3
"""Checks a built program: 64-bit GUI; its static imports only Windows' known DLLs, and not those that bring
further libraries in by name; its library search restricted to the system folder; ASLR (high entropy), DEP and
terminal-server awareness; and the resources every program carries (manifest asking for common controls 6,
asInvoker and DPI awareness; a version resource; the icon groups).

Usage: check_program.py <program.exe> <icon group id> [<icon group id> ...]
"""
import struct
import subprocess
import sys

# Windows 10's and 11's known DLLs (the Session Manager's KnownDLLs key): always taken from the system folder.
# A static import is resolved before the program's first statement, so any other name could be a library
# planted in the program's folder.
KNOWN_DLLS = {
    "advapi32.dll", "clbcatalog.dll", "combase.dll", "comdlg32.dll", "coml2.dll", "gdi32.dll", "gdiplus.dll",
    "imagehlp.dll", "imm32.dll", "kernel32.dll", "msctf.dll", "msvcrt.dll", "normaliz.dll", "nsi.dll",
    "ole32.dll", "oleaut32.dll", "psapi.dll", "rpcrt4.dll", "sechost.dll", "setupapi.dll", "shcore.dll",
    "shell32.dll", "shlwapi.dll", "user32.dll", "wldap32.dll", "ws2_32.dll",
}
# Known, but under Wine they load further libraries by name from the program's folder (shell32 brings
# shcore.dll) before the program can restrict the search: the programs load them at run time instead.
LOADED_AT_RUN_TIME = {"shell32.dll", "ole32.dll"}
# IMAGE_DLLCHARACTERISTICS_*: what Windows linkers set by default.
CHARACTERISTICS = {0x20: "high-entropy ASLR", 0x40: "ASLR", 0x100: "DEP", 0x8000: "terminal-server awareness"}
RT_ICON_GROUP, RT_VERSION, RT_MANIFEST = 14, 16, 24


def pe_layout(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
    optional = pe + 24
    magic, = struct.unpack_from("<H", data, optional)
    subsystem, characteristics = struct.unpack_from("<HH", data, optional + 68)
    directories = optional + (112 if magic == 0x20B else 96)
    rsrc_rva, _ = struct.unpack_from("<II", data, directories + 2 * 8)
    table = optional + optional_size
    section_list = []
    for i in range(sections):
        _, vsize, vaddr, rawsize, rawptr = struct.unpack_from("<8sIIII", data, table + 40 * i)
        section_list.append((vaddr, max(vsize, rawsize), rawptr))
    return machine, magic, subsystem, characteristics, rsrc_rva, section_list


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


def imports(path):
    """{dll name in lower case: the names of the functions imported from it}"""
    out = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", path], capture_output=True, text=True, check=True)
    found, dll = {}, None
    for line in out.stdout.splitlines():
        if "DLL Name:" in line:
            dll = found.setdefault(line.split(":", 1)[1].strip().lower(), set())
        elif dll is not None and line.startswith("\t") and len(line.split()) == 3:
            dll.add(line.split()[2])
        elif not line.strip():
            dll = None
    return found


def check(path, icon_groups):
    data = open(path, "rb").read()
    machine, magic, subsystem, characteristics, rsrc_rva, sections = pe_layout(data)
    problems = []
    if machine != 0x8664 or magic != 0x20B:
        problems.append("not a 64-bit program")
    if subsystem != 2:
        problems.append("not a GUI program (subsystem %d)" % subsystem)
    imported = imports(path)
    unknown = set(imported) - KNOWN_DLLS
    if unknown:
        problems.append("imports DLLs that are not known DLLs (a planted copy could be loaded): "
                        + ", ".join(sorted(unknown)))
    if set(imported) & LOADED_AT_RUN_TIME:
        problems.append("imports DLLs that load others from its folder: "
                        + ", ".join(sorted(set(imported) & LOADED_AT_RUN_TIME)))
    if "SetDefaultDllDirectories" not in imported.get("kernel32.dll", set()):
        problems.append("never restricts the library search (SetDefaultDllDirectories)")
    for bit, name in CHARACTERISTICS.items():
        if not characteristics & bit:
            problems.append("lacks " + name)
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
        print("%s: 64-bit GUI, known DLLs only, system-folder library search, ASLR, DEP, manifest, version and "
              "icons present" % sys.argv[1])
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
