#!/usr/bin/env python3
"""Packs a Windows build of the program as a release, the same way every time:

  <out>/mirtane-<version>-<arch>.zip     mírtáné.exe (stripped) and README.txt
  <out>/mírtáné-<version>-<arch>.debug   the program's debug information
  <out>/mirtane-<version>-<arch>.buildinfo  what made it: the toolchain's
                                         packages, the commit, the time
  <out>/SHA256SUMS                       the zip's SHA-256, for `sha256sum -c`

The zip is byte for byte the same wherever and whenever it is made from the
same sources: its entries are in name order, dated SOURCE_DATE_EPOCH (else
the last commit's time), with fixed attributes and no extra fields. The
program's name is stored in UTF-8 with the flag that says so, so that
Windows' own zip folder shows it as it is."""

import argparse
import hashlib
import os
import re
import subprocess
import sys
import tempfile
import time
import zipfile

PROGRAM = "m\u00edrt\u00e1n\u00e9.exe"
# The parts of README.md that the program's users need, in this order.
README_SECTIONS = ("Download and run", "Using it")
TOOL_PREFIX = {"win32": "i686-w64-mingw32-", "win64": "x86_64-w64-mingw32-"}
# The Debian packages whose versions decide the program's bytes.
TOOLCHAIN = ("gcc-mingw-w64-{0}-win32", "g++-mingw-w64-{0}-win32", "gcc-mingw-w64-base", "binutils-mingw-w64-{0}",
             "mingw-w64-{0}-dev", "mingw-w64-common", "cmake", "make")
DEBIAN_ARCH = {"win32": "i686", "win64": "x86-64"}
# Entries say they were made on Unix, with fixed modes (nothing of this
# machine's umask): Info-ZIP's unzip reads the name of an entry made on
# "MS-DOS" in the DOS code page even when the UTF-8 flag is set, and shows
# mírtáné.exe garbled. The flag, not that field, marks a name as UTF-8.
MADE_ON_UNIX = 3
MODES = {PROGRAM: 0o100755}  # a plain file, and executable for the program
DEFAULT_MODE = 0o100644


def fail(message):
    print("package: " + message, file=sys.stderr)
    sys.exit(1)


def source_date_epoch(root):
    """The time every entry of the zip carries: SOURCE_DATE_EPOCH if set,
    else the last commit's time."""
    value = os.environ.get("SOURCE_DATE_EPOCH")
    if not value:
        res = subprocess.run(["git", "-C", root, "log", "-1", "--format=%ct"], capture_output=True, text=True)
        value = res.stdout.strip()
        if res.returncode != 0 or not value:
            fail("not a git checkout: set SOURCE_DATE_EPOCH to the release's time (seconds since 1970)")
    if not value.isdigit():
        fail("SOURCE_DATE_EPOCH is not a number of seconds: %r" % value)
    return int(value)


def readme_text(markdown):
    """The README's title, its opening lines and the sections for users, as
    plain text with Windows line endings."""
    parts = re.split(r"^(?=## )", markdown, flags=re.M)
    sections = {p.splitlines()[0][3:].strip(): p for p in parts[1:]}
    missing = [name for name in README_SECTIONS if name not in sections]
    if missing:
        fail("README.md has no section %s" % ", ".join(map(repr, missing)))
    lines = []
    in_code = False
    for line in "\n".join([parts[0].rstrip()] + [sections[n].rstrip() for n in README_SECTIONS]).splitlines():
        if line.startswith("```"):
            in_code = not in_code
            continue
        if in_code:
            lines.append("    " + line)
        elif line.startswith("!["):
            continue  # a picture says nothing in Notepad
        elif line.startswith("#"):
            title = line.lstrip("#").strip()
            if lines and lines[-1]:
                lines.append("")
            lines += [title, ("=" if line.startswith("# ") else "-") * len(title)]
        else:
            line = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", line)  # a link keeps its words
            lines.append(line.replace("**", "").replace("`", ""))
    text = "\n".join(lines).strip("\n") + "\n"
    text = re.sub(r"\n{3,}", "\n\n", text)
    return text.replace("\n", "\r\n").encode("utf-8")


def write_zip(path, entries, epoch):
    """entries: {name: bytes}. Written to a temporary file first, so a zip
    that is there is whole."""
    # A zip's dates run from 1980, in local time of no stated zone: UTC here.
    stamp = time.gmtime(max(epoch, 315532800))[:6]
    tmp = path + ".tmp"
    with zipfile.ZipFile(tmp, "w") as z:
        for name in sorted(entries):
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = MADE_ON_UNIX
            info.external_attr = MODES.get(name, DEFAULT_MODE) << 16
            z.writestr(info, entries[name], compresslevel=9)
    os.replace(tmp, path)


def buildinfo(arch, version, epoch, files):
    """A record in the manner of Debian's .buildinfo, from which a user can
    rebuild the release and compare: the commit, the time, the Debian it was
    built on and the versions of the toolchain's packages."""
    def dpkg(*args):
        return subprocess.run(["dpkg-query"] + list(args), capture_output=True, text=True).stdout.strip()

    os_release = dict(re.findall(r'^(\w+)="?([^"\n]*)"?$', open("/etc/os-release").read(), flags=re.M))
    packages = [p.format(DEBIAN_ARCH[arch]) for p in TOOLCHAIN]
    depends = ["%s (= %s)" % (p, dpkg("-W", "-f=${Version}", p) or "not installed") for p in packages]
    lines = ["Format: 1.0", "Source: mirtane", "Version: " + version,
             "Source-Commit: " + (os.environ.get("FADER_SOURCE_COMMIT") or "unknown (not built from a git checkout)"),
             "Source-Date-Epoch: %d" % epoch,
             "Build-Origin: Debian %s (%s)" % (os_release.get("VERSION_ID", "?"), os_release.get("VERSION_CODENAME", "?")),
             "Build-Architecture: " + (subprocess.run(["dpkg", "--print-architecture"], capture_output=True,
                                                      text=True).stdout.strip() or "?"),
             "Checksums-Sha256:"]
    lines += [" %s %d %s" % (sha256(path), os.path.getsize(path), os.path.basename(path)) for path in files]
    lines += ["Installed-Build-Depends:"] + [" " + d + ("," if i < len(depends) - 1 else "")
                                             for i, d in enumerate(depends)]
    return "\n".join(lines) + "\n"


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--build", required=True, help="the Windows build folder (program in bin/)")
    ap.add_argument("--arch", required=True, choices=sorted(TOOL_PREFIX), help="the build's kind")
    ap.add_argument("--out", required=True, help="where the release's files go")
    args = ap.parse_args()

    exe = os.path.join(args.build, "bin", PROGRAM)
    version_file = os.path.join(args.build, "version.txt")
    if not os.path.isfile(exe) or not os.path.isfile(version_file):
        fail("no built program in %s (build the target mirtane first)" % args.build)
    with open(version_file) as f:
        version = f.read().strip()
    epoch = source_date_epoch(root)
    with open(os.path.join(root, "README.md"), encoding="utf-8") as f:
        readme = readme_text(f.read())

    os.makedirs(args.out, exist_ok=True)
    # The folder holds one release: files of an earlier version go.
    for old in os.listdir(args.out):
        if re.fullmatch(r"(mirtane-.*-%s\.(zip|buildinfo)|m\u00edrt\u00e1n\u00e9-.*-%s\.debug|SHA256SUMS)"
                        % (args.arch, args.arch), old):
            os.remove(os.path.join(args.out, old))

    zip_name = "mirtane-%s-%s.zip" % (version, args.arch)
    debug_name = "m\u00edrt\u00e1n\u00e9-%s-%s.debug" % (version, args.arch)
    zip_path = os.path.join(args.out, zip_name)
    debug_path = os.path.join(args.out, debug_name)
    objcopy = TOOL_PREFIX[args.arch] + "objcopy"
    # objcopy stamps the PE files it writes with the time it runs, or with
    # SOURCE_DATE_EPOCH when that is set: the release's time, then.
    env = dict(os.environ, SOURCE_DATE_EPOCH=str(epoch))
    with tempfile.TemporaryDirectory() as tmp:
        stripped = os.path.join(tmp, PROGRAM)
        try:
            subprocess.run([objcopy, "--only-keep-debug", exe, debug_path], check=True, env=env)
            subprocess.run([objcopy, "--strip-all", exe, stripped], check=True, env=env)
            # The link holds the debug file's name (no folder) and its CRC.
            subprocess.run([objcopy, "--add-gnu-debuglink=" + debug_path, stripped], check=True, env=env)
        except (OSError, subprocess.CalledProcessError) as e:
            fail("%s failed: %s" % (objcopy, e))
        with open(stripped, "rb") as f:
            program = f.read()
    write_zip(zip_path, {PROGRAM: program, "README.txt": readme}, epoch)
    digest = sha256(zip_path)
    with open(os.path.join(args.out, "SHA256SUMS"), "w", newline="\n") as f:
        f.write("%s  %s\n" % (digest, zip_name))

    buildinfo_path = os.path.join(args.out, "mirtane-%s-%s.buildinfo" % (version, args.arch))
    with open(buildinfo_path, "w", newline="\n") as f:
        f.write(buildinfo(args.arch, version, epoch, [zip_path, debug_path]))

    print("release: %s (stripped) %d bytes, SHA-256 %s" % (PROGRAM, len(program), hashlib.sha256(program).hexdigest()))
    print("release: debug information in %s" % debug_path)
    print("release: how it was built in %s" % buildinfo_path)
    print("release: %s" % zip_path)
    print("release: %d bytes" % os.path.getsize(zip_path))
    print("release: SHA-256 %s" % digest)


if __name__ == "__main__":
    main()
