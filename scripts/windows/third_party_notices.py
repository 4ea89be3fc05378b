#!/usr/bin/env python3
"""Writes share/windows/THIRD-PARTY.txt.in: the notices of every library linked into the Windows
programs, taken from Debian's source packages that scripts/build-windows.sh builds them from.

    scripts/windows/third_party_notices.py QT_SOURCE ICU_SOURCE FREETYPE_SOURCE > share/windows/THIRD-PARTY.txt.in

Run it again when a source package's version changes the notices. The exact versions built are
filled in at build time (@HARFCODE_WINDOWS_SOURCES@)."""
import json
import pathlib
import re
import sys

# Qt's own copies of libraries that Core, Gui and Widgets build in for Windows.
QT_BUNDLED = ["harfbuzz-ng", "pcre2", "zlib", "libpng", "double-conversion", "md4c", "tinycbor",
              "easing", "icc", "blake2", "sha3", "rfc6234", "md5"]
WINPTHREADS_COPYRIGHT = "/usr/share/doc/mingw-w64-common/copyright"
RULE = "=" * 78


def section(title, body):
    return f"{RULE}\n{title}\n{RULE}\n\n{body.strip()}\n\n"


def qt_bundled(qt, name):
    folder = pathlib.Path(qt, "src/3rdparty", name)
    entries = json.loads(pathlib.Path(folder, "qt_attribution.json").read_text(), strict=False)
    out = ""
    for entry in entries if isinstance(entries, list) else [entries]:
        files = entry.get("LicenseFiles") or [entry.get("LicenseFile")]
        texts = "\n\n".join(pathlib.Path(folder, f).read_text(errors="replace").strip() for f in files if f)
        heading = f"{entry['Name']} {entry.get('Version', '')}".strip() + " (in Qt)"
        out += section(heading, f"{entry.get('Copyright', '').strip()}\n\nLicence: {entry['License']}\n\n{texts}")
    return out


def winpthreads():
    text = pathlib.Path(WINPTHREADS_COPYRIGHT).read_text()
    stanzas = [s for s in text.split("\n\n") if "winpthreads" in s.split("\n")[0]]
    expat = re.search(r"\nLicense: expat\n(.*?)(\n\n|$)", text, re.S).group(1)
    return section("winpthreads (mingw-w64's POSIX threads for Windows)",
                   "\n\n".join(stanzas) + "\n\nLicense: expat\n" + expat)


def main(qt, icu, freetype):
    out = pathlib.Path(__file__).with_name("third_party_preamble.txt").read_text()
    out += section("Qt 6 (Core, Gui, Widgets)",
                   "Copyright (C) The Qt Company Ltd. and other contributors.\n\n"
                   "Licence: GNU Lesser General Public License version 3 (licenses/LGPL-3.0.txt),\n"
                   "which builds on the GNU General Public License version 3 (licenses/GPL-3.0.txt).")
    for name in QT_BUNDLED:
        out += qt_bundled(qt, name)
    out += section("ICU (International Components for Unicode)", pathlib.Path(icu, "LICENSE").read_text())
    out += section("FreeType", "Used under the FreeType License:\n\n" + pathlib.Path(freetype, "docs/FTL.TXT").read_text())
    out += winpthreads()
    out += section("GCC's runtime libraries (libstdc++, libgcc)",
                   "Copyright (C) Free Software Foundation, Inc.\n\n"
                   "Licence: GNU General Public License version 3 with the GCC Runtime Library\n"
                   "Exception 3.1, which allows them to be linked into programs of any licence.")
    sys.stdout.write(out)


if __name__ == "__main__":
    main(*sys.argv[1:4])
