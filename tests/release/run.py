#!/usr/bin/env python3
"""Tests of the release as a user downloads it: the zip that scripts/release.sh
wrote, read back byte by byte; its program's reach (every import exported by
Windows XP SP3, a PE header XP accepts, the sources compiled against XP's
API); and a second release made from a copy of the sources at another path,
later, under another time zone and umask, which must come out the same. Ends
with "release: N passed, M failed"."""

import argparse
import binascii
import glob
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import traceback
import xml.etree.ElementTree as ElementTree
import zipfile

PROGRAM = "m\u00edrt\u00e1n\u00e9.exe"
UTF8_NAME_FLAG = 0x800  # general purpose bit 11
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
import pe_imports  # noqa: E402

# The functions of Windows XP SP3's DLLs the program may import, with sources.
XP_EXPORTS = os.path.join(HERE, "xp_sp3_exports.txt")
XP_VERSION = (5, 1)
# The program's own sources, as the program is built (CMakeLists.txt).
PROGRAM_FOLDERS = ("base", "render", "chat", "window", "desktop")
COMPILER = "i686-w64-mingw32-g++-win32"
OBJDUMP = "i686-w64-mingw32-objdump"


class Release:
    """The files of one release folder."""

    def __init__(self, root, dist):
        self.root = root
        self.dist = dist
        zips = [n for n in os.listdir(dist) if re.fullmatch(r"mirtane-.+-win32\.zip", n)]
        if len(zips) != 1:
            raise SystemExit("release: %s holds %d zips, not one" % (dist, len(zips)))
        self.zip_name = zips[0]
        self.version = self.zip_name[len("mirtane-"):-len("-win32.zip")]
        self.debug_name = "m\u00edrt\u00e1n\u00e9-%s-win32.debug" % self.version
        self.zip_path = os.path.join(dist, self.zip_name)
        self.debug_path = os.path.join(dist, self.debug_name)
        self.buildinfo_name = "mirtane-%s-win32.buildinfo" % self.version
        self.commit = subprocess.run(["git", "-C", root, "rev-parse", "HEAD"], capture_output=True,
                                     text=True).stdout.strip()
        self.epoch = int(os.environ.get("SOURCE_DATE_EPOCH") or subprocess.run(
            ["git", "-C", root, "log", "-1", "--format=%ct"], capture_output=True, text=True, check=True).stdout)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def check(cond, message):
    if not cond:
        raise AssertionError(message)


def pe_headers(image):
    """(file header fields, optional header magic, subsystem, {section name: bytes})."""
    check(image[:2] == b"MZ", "not an MZ program")
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    check(image[pe:pe + 4] == b"PE\0\0", "no PE signature")
    machine, sections, stamp, symbols_at, symbols, optional_size, _ = struct.unpack_from("<HHIIIHH", image, pe + 4)
    magic = struct.unpack_from("<H", image, pe + 24)[0]
    subsystem = struct.unpack_from("<H", image, pe + 24 + 68)[0]
    # The same place in PE32 and PE32+: the oldest Windows the program asks for.
    os_version = struct.unpack_from("<HH", image, pe + 24 + 40)
    subsystem_version = struct.unpack_from("<HH", image, pe + 24 + 48)
    strings_at = symbols_at + 18 * symbols  # long section names: "/offset" into the string table
    found = {}
    for i in range(sections):
        at = pe + 24 + optional_size + 40 * i
        name = image[at:at + 8].rstrip(b"\0")
        if name.startswith(b"/"):
            start = strings_at + int(name[1:])
            name = image[start:image.index(b"\0", start)]
        raw_size, raw_at = struct.unpack_from("<II", image, at + 16)
        found[name.decode()] = image[raw_at:raw_at + raw_size]
    return (dict(machine=machine, stamp=stamp, symbols=symbols, os_version=os_version,
                 subsystem_version=subsystem_version), magic, subsystem, found)


def test_zip_holds_the_program_and_readme_by_utf8_name_dated_by_the_release(r):
    with zipfile.ZipFile(r.zip_path) as z:
        entries = z.infolist()
        check([e.filename for e in entries] == ["README.txt", PROGRAM],
              "the zip holds %r" % [e.filename for e in entries])
        program = entries[1]
        check(program.flag_bits & UTF8_NAME_FLAG, "the program's name is not flagged as UTF-8")
        check(program.orig_filename.encode("utf-8") == PROGRAM.encode("utf-8"), "the name's bytes differ")
        # Zip times are local times of no zone, to two seconds: the release's UTC time.
        want = time.gmtime(r.epoch)[:5] + (time.gmtime(r.epoch)[5] // 2 * 2,)
        for e in entries:
            check(e.date_time == want, "%s is dated %r, the release %r" % (e.filename, e.date_time, want))
            check(not e.extra, "%s carries extra fields" % e.filename)
        z.read(PROGRAM)  # reads the local header too, whose name must agree
        readme = z.read("README.txt").decode("utf-8")
    check(readme.count("\n") == readme.count("\r\n") > 0, "README.txt has lines not ended by CR LF")
    for part in ("Download and run", "certutil -hashfile", "sha256sum -c SHA256SUMS", "wine ", "Using it"):
        check(part in readme, "README.txt lacks %r" % part)
    for markup in ("```", "**", "`", "]("):
        check(markup not in readme, "README.txt shows Markdown %r" % markup)


def test_program_is_stripped_pe32_gui_of_the_zips_version_linked_to_its_symbols(r):
    with zipfile.ZipFile(r.zip_path) as z:
        image = z.read(PROGRAM)
    header, magic, subsystem, sections = pe_headers(image)
    check(header["machine"] == 0x14C and magic == 0x10B, "not a 32-bit x86 PE32 program")
    check(subsystem == 2, "subsystem %d, not a GUI program" % subsystem)
    check(header["symbols"] == 0, "the program keeps %d symbols" % header["symbols"])
    debug = sorted(name for name in sections if name.startswith(".debug"))
    check(not debug, "the program keeps debug sections %s" % debug)
    check(header["stamp"] == r.epoch, "PE time stamp %d, the release's time %d" % (header["stamp"], r.epoch))
    # The debug link: the debug file's name, NUL-padded to 4 bytes, and its CRC-32.
    link = sections.get(".gnu_debuglink")
    check(link is not None, "no debug link")
    name = link[:link.index(b"\0")]
    check(name == r.debug_name.encode("utf-8"), "the debug link names %r" % name)
    crc_at = (len(name) + 4) // 4 * 4
    crc = struct.unpack_from("<I", link, crc_at)[0]
    check(crc == binascii.crc32(read(r.debug_path)), "the debug link's CRC is not the debug file's")
    # VS_FIXEDFILEINFO, after its signature: struct version, then the file version.
    at = sections[".rsrc"].find(struct.pack("<I", 0xFEEF04BD))
    check(at >= 0, "no version information")
    ms, ls = struct.unpack_from("<II", sections[".rsrc"], at + 8)
    version = "%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16)
    check(version == r.version and ls & 0xFFFF == 0,
          "the program's version is %s.%d, the zip's %s" % (version, ls & 0xFFFF, r.version))


def xp_exports():
    """({dll: {function}}, {(dll, function): why newer}) from XP_EXPORTS; DLL names in lower case."""
    exports, newer, section = {}, {}, None
    with open(XP_EXPORTS, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1].lower()
                if section != "newer":
                    exports.setdefault(section, set())
            elif section == "newer":
                name, why = line.split(None, 1)
                dll, function = name.split("!")
                newer[(dll.lower(), function)] = why
            else:
                exports[section].add(line)
    return exports, newer


def test_every_import_of_the_program_is_exported_by_windows_xp_sp3(r):
    with zipfile.ZipFile(r.zip_path) as z, tempfile.TemporaryDirectory() as tmp:
        program = z.extract(PROGRAM, tmp)
        imports = pe_imports.imports(program, OBJDUMP)
    check(imports, "objdump read no imports")
    exports, newer = xp_exports()
    lacking = ["%s!%s (%s)" % (dll, function, newer.get((dll.lower(), function), "not among XP SP3's exports in "
                                                       + os.path.basename(XP_EXPORTS)))
               for dll, function in imports if function not in exports.get(dll.lower(), ())]
    print("release: the program imports %d functions from %d DLLs" % (len(imports), len({d for d, _ in imports})),
          flush=True)
    check(not lacking, "%d imports Windows XP SP3 does not export: %s" % (len(lacking), "; ".join(lacking)))


def test_program_header_asks_for_no_windows_newer_than_xp(r):
    with zipfile.ZipFile(r.zip_path) as z:
        header = pe_headers(z.read(PROGRAM))[0]
    for field in ("os_version", "subsystem_version"):
        check(header[field] <= XP_VERSION, "the PE header's %s is %d.%d, above Windows XP's %d.%d"
              % ((field,) + header[field] + XP_VERSION))


ASM_V1, ASM_V3 = "urn:schemas-microsoft-com:asm.v1", "urn:schemas-microsoft-com:asm.v3"
# The manifest elements of asm.v1 that Windows XP's loader knows; it refuses
# to start a program whose manifest holds another one of that namespace.
XP_ASM_V1 = {"assembly", "assemblyIdentity", "description", "dependency", "dependentAssembly", "file", "noInherit",
             "noInheritable", "comClass", "typelib", "windowClass", "comInterfaceExternalProxyStub", "bindingRedirect"}


def test_program_manifest_is_one_windows_xp_reads_and_asks_for_common_controls_6(r):
    with zipfile.ZipFile(r.zip_path) as z:
        rsrc = pe_headers(z.read(PROGRAM))[3][".rsrc"]
    start = rsrc.find(b"<?xml")
    end = rsrc.find(b"</assembly>", start)
    check(start >= 0 and end > start, "no manifest in the program's resources")
    text = rsrc[start:end + len(b"</assembly>")]
    root = ElementTree.fromstring(text)  # XP's parser refuses what is not well-formed XML
    check(root.tag == "{%s}assembly" % ASM_V1 and root.get("manifestVersion") == "1.0", "the root is %s" % root.tag)
    for element in root.iter():
        space, _, name = element.tag[1:].partition("}")
        check(space != ASM_V1 or name in XP_ASM_V1, "XP's loader does not know the element %s" % name)
    settings = root.find("{%s}application" % ASM_V3)
    check(settings is not None, "no application settings (asm.v3)")
    check(b"<asmv3:application>" in text and b"<asmv3:windowsSettings>" in text,
          "the application settings are not written with the asmv3: prefix")
    controls = [e.attrib for e in root.iter("{%s}assemblyIdentity" % ASM_V1)
                if e.get("name") == "Microsoft.Windows.Common-Controls"]
    check(controls and controls[0].get("version") == "6.0.0.0" and
          controls[0].get("publicKeyToken") == "6595b64144ccf1df", "no dependency on common controls 6: %r" % controls)


def test_the_programs_sources_compile_against_windows_xps_api(r):
    """A function or structure of a later Windows is declared only when
    _WIN32_WINNT asks for it: with XP's, a call to one does not compile."""
    sources = sorted(p for d in PROGRAM_FOLDERS for p in glob.glob(os.path.join(r.root, d, "*.cpp")))
    check(len(sources) > 20, "only %d sources found under %s" % (len(sources), ", ".join(PROGRAM_FOLDERS)))
    res = subprocess.run([COMPILER, "-std=c++20", "-fsyntax-only", "-DUNICODE", "-D_UNICODE", "-DWIN32_LEAN_AND_MEAN",
                          "-DNOMINMAX", "-D_WIN32_WINNT=0x0501", "-DWINVER=0x0501", "-I", r.root] + sources,
                         capture_output=True, text=True)
    check(res.returncode == 0, "the sources do not compile against Windows XP's API:\n" + res.stderr[-4000:])


def test_sha256sums_and_the_build_information_name_the_zip_and_debian_12s_toolchain(r):
    sums = read(os.path.join(r.dist, "SHA256SUMS")).decode()
    check([line.split("  ", 1)[1] for line in sums.splitlines()] == [r.zip_name], "SHA256SUMS lists %r" % sums)
    res = subprocess.run(["sha256sum", "-c", "SHA256SUMS"], cwd=r.dist, capture_output=True, text=True)
    check(res.returncode == 0 and res.stdout == "%s: OK\n" % r.zip_name, "sha256sum -c: %s%s" % (res.stdout,
                                                                                              res.stderr))
    info = read(os.path.join(r.dist, r.buildinfo_name)).decode()
    for line in ("Source-Commit: " + r.commit, "Source-Date-Epoch: %d" % r.epoch, "Build-Origin: Debian 12 (bookworm)",
                 " %s %d %s" % (sums.split()[0], os.path.getsize(r.zip_path), r.zip_name),
                 " g++-mingw-w64-i686-win32 (= 12."):
        check(line in info, "the build information lacks %r:\n%s" % (line, info))


def copy_sources(root, to):
    """The files git knows of (committed or not), else the tree without its outputs."""
    listed = subprocess.run(["git", "-C", root, "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                            capture_output=True)
    if listed.returncode != 0:
        shutil.copytree(root, to, symlinks=True, ignore=shutil.ignore_patterns(".git", "build", "dist", "out"))
        return
    for name in filter(None, listed.stdout.decode("utf-8").split("\0")):
        src = os.path.join(root, name)
        if os.path.lexists(src):  # a file deleted but not yet committed
            os.makedirs(os.path.dirname(os.path.join(to, name)), exist_ok=True)
            shutil.copy2(src, os.path.join(to, name), follow_symlinks=False)


def test_a_copy_at_another_path_later_gives_the_same_release(r):
    with tempfile.TemporaryDirectory(prefix="mirtane-again-") as tmp:
        other = os.path.join(tmp, "another place")
        copy_sources(r.root, other)
        # Another zone and umask, which a zip's times or modes could pick up.
        # The copy has no git: it is told the commit, and uses the release's root where there is one.
        env = dict(os.environ, SOURCE_DATE_EPOCH=str(r.epoch), TZ="Pacific/Kiritimati",
                   FADER_RELEASE_ROOT=os.path.join(r.root, "build", "debian-bookworm"),
                   FADER_SOURCE_COMMIT=r.commit)
        log = os.path.join(r.root, "build", "test-logs", "release-again.log")
        start = time.time()
        with open(log, "wb") as out:
            res = subprocess.run([os.path.join(other, "scripts", "release.sh")], cwd=other, env=env, stdout=out,
                                 stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                                 preexec_fn=lambda: os.umask(0o077))
        check(res.returncode == 0, "release.sh failed in %s (see %s)" % (other, log))
        print("release: the second release took %.0f s" % (time.time() - start), flush=True)
        again = os.path.join(other, "dist")
        for name in (r.zip_name, r.debug_name, r.buildinfo_name, "SHA256SUMS"):
            check(read(os.path.join(again, name)) == read(os.path.join(r.dist, name)),
                  "%s differs when made at %s" % (name, other))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--root", required=True, help="the source tree")
    ap.add_argument("--dist", required=True, help="the folder release.sh wrote")
    ap.add_argument("-k", default="", help="run only tests whose name contains this")
    args = ap.parse_args()
    release = Release(args.root, args.dist)
    passed = failed = 0
    for name, test in sorted((n, f) for n, f in globals().items() if n.startswith("test_")):
        if args.k not in name:
            continue
        start = time.time()
        try:
            test(release)
            passed += 1
            print("PASS %s (%.1f s)" % (name, time.time() - start), flush=True)
        except Exception:  # every failure is reported, the next test still runs
            failed += 1
            print("FAIL %s (%.1f s)" % (name, time.time() - start), flush=True)
            traceback.print_exc()
    print("release: %d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
