#!/usr/bin/env python3
"""scripts/check-dist on distributions built in a temporary folder: a sound one passes, and each
broken one fails with a message that names its fault. The plug-ins are stand-ins with just the
headers and the module name that check-dist reads; this tree's qevhost shows that the names are
the ones real plug-ins hand the host.

    check_dist_test.py CHECK_DIST QEVHOST RANDOM_PLUGIN ARRAY_PLUGIN [EMULATOR...]
"""
import hashlib
import io
import re
import struct
import subprocess
import sys
import tarfile
import tempfile
import zipfile
from pathlib import Path

check_dist, qevhost, random_plugin, array_plugin = sys.argv[1:5]
emulator = [a for a in sys.argv[5:] if a]
NAMES = {"QevNorvanePlimbor": "Qev-Random", "QevRandomArrayPlimbor": "Qev-RandomArray"}
VERSION = "9.9.9"


def stand_in(system, arch, module):
    """Plug-in bytes: the header of the system and architecture, and the module's name."""
    name = NAMES[module].encode() + b"\0"
    if system == "linux":
        elf_class, machine = (1, 3) if arch == "x86" else (2, 62)
        header = b"\x7fELF" + bytes([elf_class]) + bytes(13) + struct.pack("<H", machine)
        return header + bytes(64) + name
    machine = 0x14C if arch == "x86" else 0x8664
    header = b"MZ" + bytes(0x3A) + struct.pack("<I", 0x40) + b"PE\0\0" + struct.pack("<H", machine)
    return header + bytes(64) + name


def write_archive(dist, module, system, arch, plugin):
    top = f"{module}-{VERSION}-{system}-{arch}"
    suffix = ".so" if system == "linux" else ".dll"
    bits = "32-bit" if arch == "x86" else "64-bit"
    files = {f"{top}/{module}{suffix}": plugin,
             f"{top}/{module}.txt": f"This archive holds the {bits} build.\n".encode()}
    if system == "linux":
        path = dist / f"{top}.tar.gz"
        with tarfile.open(path, "w:gz") as t:
            for name, data in files.items():
                info = tarfile.TarInfo(name)
                info.size = len(data)
                t.addfile(info, io.BytesIO(data))
    else:
        path = dist / f"{top}.zip"
        with zipfile.ZipFile(path, "w") as z:
            for name, data in files.items():
                z.writestr(name, data)
    return path


def write_sums(dist):
    lines = [f"{hashlib.sha256(p.read_bytes()).hexdigest()}  {p.name}\n"
             for p in sorted(dist.iterdir()) if p.name != "SHA256SUMS"]
    (dist / "SHA256SUMS").write_text("".join(lines))


def sound_dist(dist):
    dist.mkdir()
    for module in NAMES:
        for system in ("linux", "windows"):
            for arch in ("x86", "x64"):
                write_archive(dist, module, system, arch, stand_in(system, arch, module))
    write_sums(dist)


def archive_missing(dist):
    (dist / f"QevRandomArrayPlimbor-{VERSION}-windows-x86.zip").unlink()
    write_sums(dist)
    return r"QevRandomArrayPlimbor windows x86: 0 archives"


def bits_32_named_x64(dist):
    write_archive(dist, "QevNorvanePlimbor", "linux", "x64",
                  stand_in("linux", "x86", "QevNorvanePlimbor"))
    write_sums(dist)
    return (rf"QevNorvanePlimbor-{VERSION}-linux-x64\.tar\.gz: QevNorvanePlimbor\.so is not a "
            r"64-bit linux plug-in")


def modules_swapped(dist):
    write_archive(dist, "QevNorvanePlimbor", "windows", "x64",
                  stand_in("windows", "x64", "QevRandomArrayPlimbor"))
    write_sums(dist)
    return (rf"QevNorvanePlimbor-{VERSION}-windows-x64\.zip: QevNorvanePlimbor\.dll holds "
            r"Qev-RandomArray, not Qev-Random")


def checksum_wrong(dist):
    sums = dist / "SHA256SUMS"
    name = f"QevRandomArrayPlimbor-{VERSION}-linux-x86.tar.gz"
    text = re.sub(r"^[0-9a-f]{64}(  " + re.escape(name) + ")$", "0" * 64 + r"\1",
                  sums.read_text(), flags=re.M)
    sums.write_text(text)
    return re.escape(name) + r": missing from SHA256SUMS or another hash"


def run_check(dist):
    r = subprocess.run([sys.executable, check_dist, str(dist)], capture_output=True, text=True)
    return r.returncode, r.stdout + r.stderr


def main():
    failures = []
    # The names the stand-ins hold are those the real plug-ins give qevhost describe.
    for plugin, module in ((random_plugin, "QevNorvanePlimbor"),
                           (array_plugin, "QevRandomArrayPlimbor")):
        out = subprocess.run(emulator + [qevhost, "describe", plugin], capture_output=True,
                             text=True).stdout
        if f"({NAMES[module]})\n" not in out:
            failures.append(f"qevhost describe {plugin} does not name {NAMES[module]}:\n{out}")
    with tempfile.TemporaryDirectory() as folder:
        sound = Path(folder) / "sound"
        sound_dist(sound)
        code, out = run_check(sound)
        if code != 0:
            failures.append(f"the sound distribution failed:\n{out}")
        for n, fault in enumerate((archive_missing, bits_32_named_x64, modules_swapped,
                                   checksum_wrong)):
            dist = Path(folder) / str(n)
            sound_dist(dist)
            expected = fault(dist)
            code, out = run_check(dist)
            if code != 1 or not re.search(r"^check-dist: " + expected + "$", out, re.M):
                failures.append(f"{fault.__name__}: exit {code}, wanted a line "
                                f"/{expected}/:\n{out}")
            else:
                print(f"{fault.__name__}: refused: {out.strip().splitlines()[0]}")
    for f in failures:
        print("FAILED: " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
