#!/usr/bin/env python3
"""check_binaries.py WIN64_BIN_DIR WIN32_BIN_DIR: Pelo.exe and PelomiUtil.dll of each
architecture import only system DLLs (never a MinGW runtime); the DLL exports its four
functions under MSVC's names for that architecture, and Pelo.exe imports exactly those,
so either side may be built by either compiler."""
import os
import re
import shutil
import subprocess
import sys

SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "shell32.dll", "advapi32.dll",
    "ole32.dll", "oleaut32.dll", "comdlg32.dll", "shlwapi.dll", "version.dll", "imm32.dll",
    "uxtheme.dll", "ntdll.dll", "msvcrt.dll", "ucrtbase.dll", "ws2_32.dll",
}
HOOK_NAMES = {
    "win32": ("pei-i386", ["?SetHook@@YGXPAUHWND__@@@Z", "?FreeHook@@YGXXZ",
                           "?GetLastActiveWindow@@YAPAUHWND__@@XZ",
                           "?EnumChildProc@@YGHPAUHWND__@@J@Z"]),
    "win64": ("pei-x86-64", ["?SetHook@@YAXPEAUHWND__@@@Z", "?FreeHook@@YAXXZ",
                             "?GetLastActiveWindow@@YAPEAUHWND__@@XZ",
                             "?EnumChildProc@@YAHPEAUHWND__@@J@Z"]),
}
failed = 0


def check(ok, what, detail=""):
    global failed
    failed += not ok
    print(("ok    " if ok else "FAIL  ") + what + ("" if ok or not detail else f": {detail}"))


def read_headers(path):
    """File format, {DLL: [imported names]} and exported names, from `objdump -p` in the C
    locale (its headings are translated; the Wine tests run in a Japanese one)."""
    objdump = next(filter(None, map(shutil.which, ("objdump", "x86_64-w64-mingw32-objdump"))))
    text = subprocess.run([objdump, "-p", path], check=True, capture_output=True, text=True,
                          env=dict(os.environ, LC_ALL="C", LANGUAGE="C")).stdout
    imports = {}
    for block in re.split(r"^\s*DLL Name: ", text, flags=re.MULTILINE)[1:]:
        dll, _, rest = block.partition("\n")
        imports[dll.strip()] = re.findall(r"^\s*[0-9a-f]+\s+\d+\s+(\S+)",
                                          rest.split("\n\n")[0], re.MULTILINE)
    table = text.partition("[Ordinal/Name Pointer] Table")[2].split("\n\n")[0]
    return (re.search(r"file format (\S+)", text).group(1), imports,
            re.findall(r"^\s*\[\s*\d+\]\s+(\S+)", table, re.MULTILINE))


def check_tree(arch, folder):
    exe, dll = os.path.join(folder, "Pelo.exe"), os.path.join(folder, "PelomiUtil.dll")
    check(os.path.isfile(exe) and os.path.isfile(dll), f"{arch}: Pelo.exe and PelomiUtil.dll exist")
    if failed:
        return
    wanted, names = HOOK_NAMES[arch]
    exports = []
    for path, own in ((exe, {"pelomiutil.dll"}), (dll, set())):
        label = f"{arch}: {os.path.basename(path)}"
        file_format, imports, exports = read_headers(path)
        check(file_format == wanted, f"{label} is {wanted}", file_format)
        foreign = [name for name in imports if name.lower() not in SYSTEM_DLLS | own
                   and not name.lower().startswith("api-ms-win-")]
        check(not foreign, f"{label} imports only system DLLs, no MinGW runtime", ", ".join(foreign))
        if path == exe:
            hook = [n for d, found in imports.items() if d.lower() == "pelomiutil.dll" for n in found]
            check(sorted(hook) == sorted(names), f"{label} imports exactly the MSVC names",
                  ", ".join(hook))
    check(sorted(set(names) & set(exports)) == sorted(names), f"{arch}: PelomiUtil.dll exports "
          "its MSVC names", ", ".join(exports))


if len(sys.argv) != 3:
    sys.exit("usage: check_binaries.py WIN64_BIN_DIR WIN32_BIN_DIR")
check_tree("win64", sys.argv[1])
check_tree("win32", sys.argv[2])
sys.exit(1 if failed else 0)
