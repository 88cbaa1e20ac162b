#!/usr/bin/env python3
"""Static checks of the built Pelo.exe and PelomiUtil.dll of each architecture.

    check_binaries.py WIN64_BIN_DIR WIN32_BIN_DIR

- Both run on a clean Windows: they import only the system's DLLs (Pelo.exe
  also PelomiUtil.dll), never a MinGW runtime (libstdc++, libgcc, libwinpthread).
- PelomiUtil.dll exports its four functions under the names the platform's
  usual compiler (MSVC) gives their declarations on that architecture, so a
  program built with that compiler can link to it; Pelo.exe imports exactly
  those names from it, so that it loads a PelomiUtil.dll built by either.

Reads `objdump -p`; prints one line per check and "N passed, N failed";
exits non-zero when a check fails or a binary is missing.
"""
import os
import re
import shutil
import subprocess
import sys

# Lower-case names of DLLs that every Windows installation has.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "shell32.dll", "advapi32.dll",
    "ole32.dll", "oleaut32.dll", "comdlg32.dll", "shlwapi.dll", "version.dll", "imm32.dll",
    "uxtheme.dll", "ntdll.dll", "msvcrt.dll", "ucrtbase.dll", "ws2_32.dll",
}
RUNTIME_DLL = re.compile(r"^(libstdc\+\+|libgcc|libwinpthread)", re.IGNORECASE)

HOOK_NAMES = {
    "pei-i386": [
        "?SetHook@@YGXPAUHWND__@@@Z",
        "?FreeHook@@YGXXZ",
        "?GetLastActiveWindow@@YAPAUHWND__@@XZ",
        "?EnumChildProc@@YGHPAUHWND__@@J@Z",
    ],
    "pei-x86-64": [
        "?SetHook@@YAXPEAUHWND__@@@Z",
        "?FreeHook@@YAXXZ",
        "?GetLastActiveWindow@@YAPEAUHWND__@@XZ",
        "?EnumChildProc@@YAHPEAUHWND__@@J@Z",
    ],
}
EXPECTED_FORMAT = {"win64": "pei-x86-64", "win32": "pei-i386"}


def objdump_program():
    for name in ("objdump", "x86_64-w64-mingw32-objdump", "i686-w64-mingw32-objdump"):
        path = shutil.which(name)
        if path:
            return path
    sys.exit("check_binaries: no objdump found")


def read_headers(objdump, path):
    """File format, imports ({DLL name: [imported names]}) and exported names of a PE file."""
    # objdump's headings are translated: read them in the C locale, whatever
    # locale the test run uses (the Wine tests need a Japanese one).
    env = dict(os.environ, LC_ALL="C", LANGUAGE="C")
    text = subprocess.run([objdump, "-p", path], check=True, capture_output=True,
                          text=True, env=env).stdout
    match = re.search(r"file format (\S+)", text)
    file_format = match.group(1) if match else "unknown"
    imports = {}
    for block in re.split(r"^\s*DLL Name: ", text, flags=re.MULTILINE)[1:]:
        dll, _, rest = block.partition("\n")
        # "vma:  Hint/Ord Member-Name Bound-To", then "<vma> <hint> <name>" lines.
        names = []
        for line in rest.splitlines()[1:]:
            entry = re.match(r"^\s*[0-9a-f]+\s+\d+\s+(\S+)", line)
            if not entry:
                break
            names.append(entry.group(1))
        imports[dll.strip()] = names
    exports = []
    table = text.split("[Ordinal/Name Pointer] Table", 1)
    if len(table) == 2:
        for line in table[1].splitlines()[1:]:
            entry = re.match(r"^\s*\[\s*\d+\]\s+(\S+)", line)
            if not entry:
                break
            exports.append(entry.group(1))
    return file_format, imports, exports


class Checks:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, ok, what, detail=""):
        if ok:
            self.passed += 1
            print(f"ok    {what}")
        else:
            self.failed += 1
            print(f"FAIL  {what}" + (f": {detail}" if detail else ""))


def check_imports(checks, label, imports, allowed_extra):
    runtime = [dll for dll in imports if RUNTIME_DLL.match(dll)]
    checks.check(not runtime, f"{label} imports no MinGW runtime DLL", ", ".join(runtime))
    foreign = [dll for dll in imports
               if dll.lower() not in SYSTEM_DLLS and dll.lower() not in allowed_extra
               and not dll.lower().startswith("api-ms-win-")]
    checks.check(not foreign, f"{label} imports only system DLLs", ", ".join(foreign))


def check_tree(checks, objdump, arch, folder):
    exe = os.path.join(folder, "Pelo.exe")
    dll = os.path.join(folder, "PelomiUtil.dll")
    for path in (exe, dll):
        checks.check(os.path.isfile(path), f"{arch}: {os.path.basename(path)} exists", path)
    if not (os.path.isfile(exe) and os.path.isfile(dll)):
        return

    exe_format, exe_imports, _ = read_headers(objdump, exe)
    dll_format, dll_imports, dll_exports = read_headers(objdump, dll)
    wanted = EXPECTED_FORMAT[arch]
    checks.check(exe_format == wanted, f"{arch}: Pelo.exe is {wanted}", exe_format)
    checks.check(dll_format == wanted, f"{arch}: PelomiUtil.dll is {wanted}", dll_format)

    check_imports(checks, f"{arch}: Pelo.exe", exe_imports, {"pelomiutil.dll"})
    hook_imports = next((names for dll, names in exe_imports.items()
                         if dll.lower() == "pelomiutil.dll"), None)
    checks.check(hook_imports is not None,
                 f"{arch}: Pelo.exe links PelomiUtil.dll at load time", ", ".join(exe_imports))
    check_imports(checks, f"{arch}: PelomiUtil.dll", dll_imports, set())

    names = HOOK_NAMES.get(dll_format, HOOK_NAMES[wanted])
    for name in names:
        checks.check(name in dll_exports, f"{arch}: PelomiUtil.dll exports {name}",
                     "exports: " + ", ".join(dll_exports))
    if hook_imports is not None:
        checks.check(sorted(hook_imports) == sorted(names),
                     f"{arch}: Pelo.exe imports from PelomiUtil.dll exactly its MSVC names",
                     "imports: " + ", ".join(hook_imports))


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: check_binaries.py WIN64_BIN_DIR WIN32_BIN_DIR")
    objdump = objdump_program()
    checks = Checks()
    check_tree(checks, objdump, "win64", sys.argv[1])
    check_tree(checks, objdump, "win32", sys.argv[2])
    print(f"{checks.passed} passed, {checks.failed} failed")
    sys.exit(1 if checks.failed else 0)


if __name__ == "__main__":
    main()
