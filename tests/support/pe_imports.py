"""The import table of a Windows program, as the MinGW objdump prints it."""

import re
import subprocess

# One imported function under its "DLL Name:" line: binutils 2.40 prints
# "vma hint name" (the hint in decimal; for a function imported by ordinal,
# "vma ordinal <none>"), 2.44 "vma ordinal hint name" (the hint in hex, the
# ordinal "<none>" for a function imported by name).
_ENTRY = re.compile(r"\t[0-9a-f]+\s+(?:(<none>|\d+)\s+)?([0-9a-f]+|<none>)\s+(\S+)$")


def imports(program, objdump):
    """[(dll, function)] in the program's import table, in table order; a
    function imported by ordinal comes as "#<ordinal>"."""
    out = subprocess.run([objdump, "-p", program], capture_output=True, text=True, check=True).stdout
    found, dll = [], None
    for line in out.splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            dll = m.group(1)
            continue
        m = _ENTRY.match(line)
        if m and dll:
            ordinal, hint, name = m.groups()
            if name == "<none>":
                name = "#" + (ordinal if ordinal not in (None, "<none>") else hint)
            found.append((dll, name))
    return found
