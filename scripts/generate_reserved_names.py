#!/usr/bin/env python3
"""Writes src/c_source/reserved_names.inc: every name the strings header must refuse.

A name is refused when a header made for it breaks a file that includes every standard C
header first (on AVR, every one avr-libc has, <avr/io.h> and <avr/pgmspace.h>), built with
-Wall -Wextra -Werror by `gcc -std=c99 -pedantic`, `gcc -std=gnu99`, `g++ -std=gnu++17` or
`avr-gcc -std=gnu99 -mmcu=atmega328p`. The candidates are every identifier of those headers,
the macros GCC predefines and the functions GCC knows as built-ins, less the names
harfcode-cli refuses for reasons of its own. The headers are made by harfcode-cli itself.

Run it by hand from any folder after a build, and commit what it writes:

    scripts/generate_reserved_names.py build/bin/harfcode-cli
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field
from pathlib import Path

SOURCE_DIR = Path(__file__).resolve().parent.parent
OUTPUT = SOURCE_DIR / "src/c_source/reserved_names.inc"

# The headers of C11, in the order that breaks ties when naming the header of a name.
STANDARD_HEADERS = (
    "assert.h", "complex.h", "ctype.h", "errno.h", "fenv.h", "float.h", "inttypes.h", "iso646.h",
    "limits.h", "locale.h", "math.h", "setjmp.h", "signal.h", "stdalign.h", "stdarg.h",
    "stdatomic.h", "stdbool.h", "stddef.h", "stdint.h", "stdio.h", "stdlib.h", "stdnoreturn.h",
    "string.h", "tgmath.h", "threads.h", "time.h", "uchar.h", "wchar.h", "wctype.h",
)
WARNINGS = ("-Wall", "-Wextra", "-Werror")
LIBRARY_FUNCTION = "a C library function, which every program may use"
PREDEFINED = "predefined by GCC"


@dataclass(frozen=True)
class Mode:
    compiler: str
    options: tuple
    language: str
    required_headers: tuple = ()  # besides whichever standard headers the mode has


MODES = (
    Mode("gcc", ("-std=c99", "-pedantic"), "c"),
    Mode("gcc", ("-std=gnu99",), "c"),
    Mode("g++", ("-std=gnu++17",), "c++"),
    # <avr/pgmspace.h> includes <avr/io.h>, which names the registers' macros better.
    Mode("avr-gcc", ("-std=gnu99", "-mmcu=atmega328p"), "c", ("avr/io.h", "avr/pgmspace.h")),
)
# The two shapes of header: NAME[NAME_LENGTH], and NAME[NAME_ROWS][N] with --width N.
HEADER_SHAPES = ((), ("--width", "2"))

IDENTIFIER = re.compile(r"\b[A-Za-z_]\w*")
LITERAL = re.compile(r'"(?:[^"\\\n]|\\.)*"|\'(?:[^\'\\\n]|\\.)*\'')
LINE_MARKER = re.compile(r'^# \d+ "(.*)"((?: \d)*)$')
DEFINE = re.compile(r"^#define ([A-Za-z_]\w*)(\()?")
DIAGNOSTIC = re.compile(r"^(.*?):(\d+):(?:\d+:)? (error|warning|note|fatal error): (.*)$")
BUILTIN_DIAGNOSTIC = re.compile(r"built-in function '([A-Za-z_]\w*)' declared as non-function")
PLACEHOLDER = re.compile(r"\bPROBE(\d+)")
SUFFIXES = ("_LENGTH", "_ROWS")  # what the header defines besides NAME itself


def fail(message):
    sys.exit(f"{sys.argv[0]}: {message}")


class Compilers:
    """Runs the compilers on sources written into one working folder."""

    def __init__(self, folder):
        self.folder = folder
        self.runs = 0

    def run(self, mode, source, options):
        self.runs += 1
        path = f"probe{self.runs}.c"
        (self.folder / path).write_text(source)
        command = [mode.compiler, *mode.options, "-fdiagnostics-color=never", "-fno-diagnostics-show-caret",
                   *options, "-x", mode.language, path]
        return subprocess.run(command, cwd=self.folder, capture_output=True, text=True)

    def output(self, mode, source, options):
        result = self.run(mode, source, options)
        if result.returncode != 0:
            fail(f"{mode.compiler} {' '.join(mode.options)} {' '.join(options)} failed:\n{result.stderr}")
        return result.stdout


def includes(headers):
    return "".join(f"#include <{header}>\n" for header in headers)


def mode_headers(compilers, mode):
    """The standard headers that build alone in `mode`, and the headers it requires."""
    builds = lambda header: compilers.run(mode, includes([header]), [*WARNINGS, "-fsyntax-only"]).returncode == 0
    headers = [header for header in STANDARD_HEADERS if builds(header)]
    for header in mode.required_headers:
        if not builds(header):
            fail(f"<{header}> does not build with {mode.compiler}")
    headers += mode.required_headers
    result = compilers.run(mode, includes(headers), [*WARNINGS, "-fsyntax-only"])
    if result.returncode != 0:
        fail(f"the standard headers do not build together with {mode.compiler}:\n{result.stderr}")
    return headers


@dataclass
class Knowledge:
    """What the preprocessed headers tell of every identifier."""

    header_order: list = field(default_factory=list)
    identifiers: set = field(default_factory=set)
    predefined: set = field(default_factory=set)
    macro_files: dict = field(default_factory=dict)    # name -> files that #define it
    object_macros: set = field(default_factory=set)    # names #defined without parameters
    file_homes: dict = field(default_factory=dict)     # file -> (in C++ only, include depth, header order, header)

    def learn(self, header, language, preprocessed):
        if header not in self.header_order:
            self.header_order.append(header)
        stack, main_file = [], None
        for line in preprocessed.splitlines():
            marker = LINE_MARKER.match(line)
            if marker:
                main_file = main_file or marker.group(1)
                file, flags = marker.group(1), marker.group(2).split()
                if "1" in flags:
                    stack.append(file)
                elif file in stack:
                    del stack[stack.index(file) + 1:]
                else:
                    stack = [file]
                continue
            depth = len(stack) - 1 if stack and stack[0] == main_file else 0
            if depth == 0:
                continue
            file = stack[-1]
            home = (language == "c++", depth, self.header_order.index(header), header)
            self.file_homes[file] = min(self.file_homes.get(file, home), home)
            names = IDENTIFIER.findall(LITERAL.sub(" ", line))
            self.identifiers.update(names)
            define = DEFINE.match(line)
            if define:
                self.macro_files.setdefault(define.group(1), set()).add(file)
                if not define.group(2):
                    self.object_macros.add(define.group(1))

    def home(self, files):
        """The standard header that holds one of `files` most directly, in C if it can: the
        C++ library includes much more than C does."""
        homes = [self.file_homes[file] for file in files if file in self.file_homes]
        if not homes:
            return None
        only_in_cpp, _, _, header = min(homes)
        return f"<{header}> in C++" if only_in_cpp else f"<{header}>"


def harvest(compilers, modes_headers):
    knowledge = Knowledge()
    builtins = set()
    for mode, headers in modes_headers:
        for header in headers:
            knowledge.learn(header, mode.language, compilers.output(mode, includes([header]), ["-E", "-dD"]))
        predefined = compilers.output(mode, "", ["-E", "-dM"])
        knowledge.predefined.update(DEFINE.match(line).group(1) for line in predefined.splitlines())
        # Each of GCC's library built-ins is known as __builtin_NAME too; the compiler
        # proper holds those names as strings.
        compiler_proper = subprocess.run([mode.compiler, f"-print-prog-name={'cc1plus' if mode.language == 'c++' else 'cc1'}"],
                                         capture_output=True, text=True, check=True).stdout.strip()
        strings = subprocess.run(["strings", compiler_proper], capture_output=True, text=True, check=True).stdout
        builtins.update(re.findall(r"^__builtin_([A-Za-z]\w*)$", strings, re.MULTILINE))
    return knowledge, builtins


def name_groups(names):
    """Splits `names` so that no group holds both NAME and NAME_LENGTH or NAME_ROWS, which
    one header cannot declare together."""
    depth = {}

    def depth_of(name):
        if name not in depth:
            stems = [name[: -len(suffix)] for suffix in SUFFIXES if name.endswith(suffix)]
            depth[name] = max([depth_of(stem) + 1 for stem in stems if stem in names], default=0)
        return depth[name]

    groups = {}
    for name in sorted(names):
        groups.setdefault(depth_of(name), []).append(name)
    return [groups[key] for key in sorted(groups)]


class Cli:
    def __init__(self, program, folder):
        self.program = program
        self.folder = folder
        (folder / "table.txt").write_text("".join(f"{slot:02X}\n" for slot in range(1, 104)))

    def run(self, names, options=()):
        (self.folder / "strings.txt").write_text("".join(f"{name}=A\n" for name in names))
        return subprocess.run([self.program, "--header", "strings.txt", "--table", "table.txt", *options],
                              cwd=self.folder, capture_output=True, text=True)

    def refusals(self, names):
        """Why harfcode-cli refuses each of `names` it refuses, by name."""
        result = self.run(names)
        reasons = {}
        for line in result.stderr.splitlines():
            match = re.match(r"^.*?strings\.txt:(\d+): (.*)$", line)
            if not match:
                fail(f"harfcode-cli: {result.stderr}")
            reasons[names[int(match.group(1)) - 1]] = match.group(2)
        return reasons

    def header(self, names, shape):
        """A header for `names` and, for each of its lines, the index of the name it belongs to."""
        result = self.run([f"PROBE{index}" for index in range(len(names))], shape)
        if result.returncode != 0:
            fail(f"harfcode-cli: {result.stderr}")
        owners, owner = [], None
        for line in result.stdout.splitlines():
            placeholders = PLACEHOLDER.findall(line)
            owner = int(placeholders[0]) if placeholders else owner
            owners.append(owner)
        return PLACEHOLDER.sub(lambda match: names[int(match.group(1))], result.stdout), owners


def read_existing_reasons():
    """The reason of every name in the list as it is now, to tell harfcode-cli's refusals by
    the list from its other refusals."""
    if not OUTPUT.exists():
        return {}
    return dict(re.findall(r'^\{"(\w+)", "(.*)"\},$', OUTPUT.read_text(), re.MULTILINE))


@dataclass(frozen=True)
class Note:
    message: str


@dataclass
class Failures:
    names: set = field(default_factory=set)
    builtins: set = field(default_factory=set)  # names GCC called built-in functions
    overloads: set = field(default_factory=set)  # names C++ declares as functions, overloaded or not
    files: dict = field(default_factory=dict)   # name -> files the diagnostics point to
    only_beside_others: set = field(default_factory=set)  # names that build alone

    def merge(self, other):
        self.names |= other.names
        self.only_beside_others |= other.only_beside_others
        self.builtins |= other.builtins
        self.overloads |= other.overloads
        for name, files in other.files.items():
            self.files.setdefault(name, set()).update(files)


def failures(compilers, cli, mode, headers, names, shape, options=("-fsyntax-only",)):
    """Which of `names` break a file that includes `headers` and then their header, with the
    header's definitions: one file for all, its diagnostics telling which."""
    header, owners = cli.header(names, shape)
    (compilers.folder / "names.h").write_text(header)
    source = includes(headers) + '#include "names.h"\n#define HARFCODE_STRINGS_IMPLEMENTATION\n#include "names.h"\n'
    result = compilers.run(mode, source, [*WARNINGS, *options, "-o", "/dev/null"])
    found = Failures()
    group = []  # the names of the diagnostic being read, and the other files it names

    def close(group):
        group_names = {entry for entry in group if isinstance(entry, str)}
        for name in group_names:
            found.files.setdefault(name, set()).update(str(entry) for entry in group if isinstance(entry, Path))
            # g++ shows the declaration met, e.g. "previous declaration 'char* basename(char*)'".
            if any(re.search(rf"^previous declaration '[^']*\b{name}\(", entry.message)
                   for entry in group if isinstance(entry, Note)):
                found.overloads.add(name)
        found.names.update(group_names)

    for line in result.stderr.splitlines():
        diagnostic = DIAGNOSTIC.match(line)
        if not diagnostic:
            continue
        file, line_number, severity, message = diagnostic.groups()
        if severity != "note":
            close(group)
            group = []
        if file == "names.h":
            owner = owners[int(line_number) - 1]
            if owner is None:
                fail(f"a diagnostic outside the entries:\n{result.stderr}")
            # A note here names the entry an error meets, not one that breaks, unless it
            # tells where a macro of the error was used.
            if severity != "note" or "macro" in message:
                group.append(names[owner])
            builtin = BUILTIN_DIAGNOSTIC.search(message)
            if builtin:
                found.builtins.add(builtin.group(1))
        elif file.startswith("/"):
            group.append(Path(file))
        else:
            fail(f"a diagnostic outside the header:\n{result.stderr}")
        if severity == "note":
            group.append(Note(message))
    close(group)
    if result.returncode != 0 and not found.names:
        fail(f"{mode.compiler} failed, naming no entry:\n{result.stderr}")
    return found


def refused_names(compilers, cli, mode, headers, names, shape):
    """The names of `names` that break the build, found in rounds until the rest builds."""
    refused = Failures()
    pending = list(names)
    while pending:
        found = failures(compilers, cli, mode, headers, pending, shape)
        if not found.names:
            break
        refused.merge(found)
        pending = [name for name in pending if name not in found.names]
    # The rest builds to an object file too, and each refused name breaks the build with
    # other neighbours as well, so that no error was only the echo of another.
    if pending and failures(compilers, cli, mode, headers, pending, shape, ("-c",)).names:
        fail(f"the names left do not build together with {mode.compiler}")
    echoes = refused.names - failures(compilers, cli, mode, headers, sorted(refused.names, reverse=True), shape).names
    refused.only_beside_others = {name for name in echoes if not failures(compilers, cli, mode, headers, [name], shape).names}
    refused.names -= refused.only_beside_others
    return refused


# One line each, that compiles when NAME is of the kind; tried in this order, so that each
# one only tells apart what the ones before it left. Overloaded C++ functions defeat them
# all: the diagnostics tell those.
PROBES = {
    "c": {
        # A function's address is the address of what it designates.
        "function": "typedef char {probe}[__builtin_types_compatible_p(__typeof__(&{name}), __typeof__(&*{name})) ? 1 : -1];",
        "type": "typedef {name} {probe};",
        "variable": "typedef char {probe}[sizeof &{name}];",
        "constant": "typedef char {probe}[sizeof {name}];",
    },
    "c++": {
        "function": "typedef char {probe}[std::is_function<decltype({name})>::value ? 1 : -1];",
        "type": "typedef {name} {probe};",
        "variable": "typedef char {probe}[sizeof &{name}];",
        "constant": "typedef char {probe}[sizeof {name}];",
        "namespace": "namespace {probe} = {name};",
    },
}
PROBE_HEADERS = {"c": [], "c++": ["type_traits"]}


def probe(compilers, mode, headers, names, kind):
    """Which of `names` the probe of `kind` compiles for after `headers`."""
    lines = [PROBES[mode.language][kind].format(name=name, probe=f"probe_{index}") for index, name in enumerate(names)]
    preamble = includes(headers + PROBE_HEADERS[mode.language])
    result = compilers.run(mode, preamble + "\n".join(lines) + "\n", ["-w", "-fsyntax-only"])
    first_line = preamble.count("\n") + 1
    broken = set()
    for line in result.stderr.splitlines():
        diagnostic = DIAGNOSTIC.match(line)
        if diagnostic and diagnostic.group(3) in ("error", "fatal error") and not diagnostic.group(1).startswith("/"):
            index = int(diagnostic.group(2)) - first_line
            if not 0 <= index < len(names):
                fail(f"a probe failed outside its lines:\n{result.stderr}")
            broken.add(names[index])
    return set(names) - broken


def classify(compilers, modes_headers, knowledge, refused):
    """Why each refused name is refused, as the sentence "NAME is ..." ends."""
    reasons = {name: PREDEFINED for name in refused.names & knowledge.predefined}
    kinds = {}
    # An object-like macro would turn a probe into something else; a function-like one
    # stays itself where no "(" follows, as in the probes.
    unprobed = set(reasons) | knowledge.object_macros
    for mode, headers in sorted(modes_headers, key=lambda mode_headers: mode_headers[0].language):
        for kind in PROBES[mode.language]:
            unknown = sorted(refused.names - unprobed - set(kinds))
            for name in probe(compilers, mode, headers, unknown, kind) if unknown else ():
                kinds[name] = kind
    for name in sorted(refused.names - set(reasons)):
        kind = kinds.get(name)
        if kind == "function" or name in refused.builtins | refused.overloads:
            reasons[name] = LIBRARY_FUNCTION
        elif kind == "namespace":
            reasons[name] = "a namespace of the C++ library"
        elif name in knowledge.macro_files:
            reasons[name] = f"a macro of {knowledge.home(knowledge.macro_files[name])}"
        elif kind:
            reasons[name] = f"a {kind} of {knowledge.home(refused.files[name])}"
    unexplained = refused.names - set(reasons)
    if unexplained:
        fail(f"refused for no reason found: {' '.join(sorted(unexplained))}")
    return reasons


def versions():
    glibc = subprocess.run(["getconf", "GNU_LIBC_VERSION"], capture_output=True, text=True, check=True).stdout.split()[-1]
    avr_libc = re.search(r'__AVR_LIBC_VERSION_STRING__ "([^"]+)"',
                         subprocess.run(["avr-gcc", "-mmcu=atmega328p", "-E", "-dM", "-include", "avr/version.h", "-x", "c", "/dev/null"],
                                        capture_output=True, text=True, check=True).stdout).group(1)
    gcc = lambda compiler: subprocess.run([compiler, "-dumpfullversion", "-dumpversion"], capture_output=True, text=True, check=True).stdout.strip()
    return f"gcc {gcc('gcc')}, glibc {glibc}, avr-gcc {gcc('avr-gcc')}, avr-libc {avr_libc}"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("cli", help="the harfcode-cli program, e.g. build/bin/harfcode-cli")
    program = Path(parser.parse_args().cli).resolve()
    os.environ["LC_ALL"] = "C"  # plain quotes in the diagnostics
    started = time.monotonic()
    for tool in ("gcc", "g++", "avr-gcc", "strings", "getconf"):
        if not shutil.which(tool):
            fail(f"{tool} is missing (Debian packages gcc g++ gcc-avr avr-libc binutils)")

    with tempfile.TemporaryDirectory() as folder:
        compilers = Compilers(Path(folder))
        cli = Cli(program, Path(folder))
        modes_headers = [(mode, mode_headers(compilers, mode)) for mode in MODES]
        knowledge, builtins = harvest(compilers, modes_headers)
        candidates = knowledge.identifiers | knowledge.predefined | builtins
        candidates |= {name[: -len(suffix)] for name in candidates for suffix in SUFFIXES if name.endswith(suffix)}

        listed = read_existing_reasons()
        groups = []
        for group in name_groups(candidates):
            refusals = cli.refusals(group)
            groups.append([name for name in group
                           if name not in refusals or refusals[name] == f'"{name}" is {listed.get(name)}'])
        print(f"{sum(map(len, groups))} candidates", file=sys.stderr)

        refused = Failures()
        for mode, headers in modes_headers:
            for shape in HEADER_SHAPES:
                for group in groups:
                    found = refused_names(compilers, cli, mode, headers, group, shape)
                    refused.merge(found)
            print(f"{mode.compiler} {' '.join(mode.options)}: {len(refused.names)} refused so far", file=sys.stderr)
        reasons = classify(compilers, modes_headers, knowledge, refused)
    if refused.only_beside_others - refused.names:
        print("not refused, as they break a build only beside other names:",
              *sorted(refused.only_beside_others - refused.names), file=sys.stderr)

    entries = "".join(f'{{"{name}", "{reasons[name]}"}},\n' for name in sorted(reasons))
    OUTPUT.write_text(
        f"// Generated by scripts/generate_reserved_names.py build/bin/harfcode-cli\n"
        f"// with {versions()}; do not edit.\n"
        f"// The names a strings header cannot declare after the standard C headers, sorted, with why.\n"
        + entries)
    print(f"{len(reasons)} names in {time.monotonic() - started:.0f} s", file=sys.stderr)


if __name__ == "__main__":
    main()
