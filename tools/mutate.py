#!/usr/bin/env python3
"""Plants small faults in C++ sources, one at a time, and lists those no test caught.

Each fault is one small change a slip of the hand makes: a comparison flipped,
a whole-number constant moved by one, two adjacent entries of a table swapped,
a statement dropped, or a string literal of a table changed. For each, the
file is changed, the tests' programs are rebuilt with ninja (only those), the
tests are run with ctest, and the file is put back as it was (also on Ctrl-C).
A fault that does not build is passed over; one under which every test still
passes is a survivor, listed as FILE:LINE with the change.

The tests run are those of the file's folder (calendar/holidays.cpp: every
test whose program is built in BUILD/tests/calendar/), or those a ctest
regular expression names (-R), less those of -E. The tests of the folder not
built yet are built first (ctest learns their names from their programs); with
-R, only tests already built are run.

Examples:
  tools/mutate.py                                   # the C++ files changed since main
  tools/mutate.py --max 20 --seed 1 calendar/holidays.cpp
  tools/mutate.py -R '^(ReportGate|InstalledReporter)\\.' app/crash_reporter.cpp
"""

from __future__ import annotations

import argparse
import json
import random
import re
import signal
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent


@dataclass
class Mutant:
    path: Path
    line: int  # from 1
    kind: str
    before: str  # the whole line
    after: str

    def describe(self) -> str:
        return f"{self.path.relative_to(ROOT)}:{self.line}: {self.kind}: {self.before.strip()}  ->  {self.after.strip()}"


# --- finding the places ---------------------------------------------------------

STRING = re.compile(r'"(?:[^"\\]|\\.)*"')
CHARACTER = re.compile(r"'(?:[^'\\]|\\.)+'")
RAW_STRING = re.compile(r'R"([^(]*)\((?:.|\n)*?\)\1"')


def code_spans(line: str) -> list[tuple[int, int]]:
    """The stretches of a line that are code: not a literal of text, not a comment."""
    spans, start, position = [], 0, 0
    while position < len(line) and not line.startswith("//", position):
        literal = None
        if line.startswith('R"', position):
            literal = RAW_STRING.match(line, position)
        elif line[position] == '"':
            literal = STRING.match(line, position)
        elif line[position] == "'" and not (position and line[position - 1].isalnum()):  # not 15'000
            literal = CHARACTER.match(line, position)
        if literal:
            spans.append((start, position))
            position = start = literal.end()
        else:
            position += 1
    spans.append((start, position))
    return [(a, b) for a, b in spans if b > a]


def in_code(spans: list[tuple[int, int]], start: int, end: int) -> bool:
    return any(a <= start and end <= b for a, b in spans)


COMPARISONS = {" == ": " != ", " != ": " == ", " < ": " <= ", " <= ": " < ", " > ": " >= ", " >= ": " > ",
               " && ": " || ", " || ": " && "}
COMPARISON = re.compile("|".join(re.escape(op) for op in sorted(COMPARISONS, key=len, reverse=True)))
NUMBER = re.compile(r"(?<![\w.'])(\d+)(?![\w.'])")
ENTRY = re.compile(r"\{[^{}]*\}")
TABLE_ROW = re.compile(r"^\s*\{.*\},?\s*(//.*)?$")
DECLARATION = re.compile(r"^\s*(?:(?:const|constexpr|static|using|auto|struct|class|enum|namespace|template)\b"
                         r"|[A-Za-z_][\w:<>, ]*[\s*&]+\w+\s*[={;(])")
STATEMENT_START = re.compile(r"^\s+(?!return\b|case\b|default\b|break\b|else\b|}|//|#|\*)\S")


def skipped(line: str) -> bool:
    stripped = line.strip()
    return (not stripped or stripped.startswith(("#", "//", "*", "/*")) or "static_assert" in line
            or "clang-format" in line)


def comparison_mutants(path: Path, number: int, line: str) -> list[Mutant]:
    spans = code_spans(line)
    found = [m for m in COMPARISON.finditer(line) if in_code(spans, m.start(), m.end())]
    # && and || swapped beside another of them mix the two without brackets, which does not build.
    logical = [m for m in found if m.group() in (" && ", " || ")]
    if len(logical) > 1:
        found = [m for m in found if m not in logical]
    return [Mutant(path, number, "comparison flipped", line, line[:m.start()] + COMPARISONS[m.group()] + line[m.end():])
            for m in found]


def constant_mutants(path: Path, number: int, line: str) -> list[Mutant]:
    spans = code_spans(line)
    found = []
    for m in NUMBER.finditer(line):
        if not in_code(spans, m.start(), m.end()):
            continue
        value = int(m.group(1))
        for moved in (value + 1, value - 1):
            if moved >= 0:
                found.append(Mutant(path, number, "constant moved by one", line,
                                    line[:m.start()] + str(moved) + line[m.end():]))
    return found


def entry_swap_mutants(path: Path, number: int, line: str, next_line: str | None) -> list[Mutant]:
    found = []
    # Two entries on the line: {a}, {b} or "a", "b".
    for pattern in (ENTRY, STRING):
        items = list(pattern.finditer(line))
        for first, second in zip(items, items[1:]):
            between = line[first.end():second.start()]
            if between.strip() == "," and first.group() != second.group():
                swapped = line[:first.start()] + second.group() + between + first.group() + line[second.end():]
                found.append(Mutant(path, number, "adjacent entries swapped", line, swapped))
    # Two rows of a table, one entry a line.
    if next_line is not None and TABLE_ROW.match(line) and TABLE_ROW.match(next_line) and line != next_line:
        found.append(Mutant(path, number, "adjacent rows swapped", line + next_line, next_line + line))
    return found


def literal_mutants(path: Path, number: int, line: str) -> list[Mutant]:
    """A string literal in a row of a table, changed: its first two characters swapped, or one added."""
    if not TABLE_ROW.match(line) and not re.search(r'\{\s*"', line):
        return []
    found = []
    for m in STRING.finditer(line):
        literal = m.group()
        if not literal.endswith('"'):
            continue
        opening = literal.index('"') + 1
        text = literal[opening:-1]
        if len(text) >= 2 and text[0] != text[1] and "\\" not in text[:2]:
            changed = text[1] + text[0] + text[2:]
        else:
            changed = text + "x"
        found.append(Mutant(path, number, "table text changed", line,
                            line[:m.start()] + literal[:opening] + changed + '"' + line[m.end():]))
    return found


def statement_mutants(path: Path, number: int, line: str, previous: str) -> list[Mutant]:
    """A one-line statement in a function's body, dropped (its line left empty)."""
    code = line.split("//")[0].rstrip()
    if not code.endswith(";") or not STATEMENT_START.match(line):
        return []
    if not previous.rstrip().endswith((";", "{", "}", ":")) and not previous.strip().startswith("//"):
        return []  # the end of a statement that began on an earlier line
    if DECLARATION.match(line):
        return []  # dropping a declaration does not build
    return [Mutant(path, number, "statement dropped", line, "\n")]


def find_mutants(path: Path) -> list[Mutant]:
    lines = path.read_text(encoding="utf-8").splitlines(keepends=True)
    found = []
    in_block_comment = False
    for index, line in enumerate(lines):
        if in_block_comment or line.lstrip().startswith("/*"):
            in_block_comment = "*/" not in line
            continue
        if skipped(line):
            continue
        number = index + 1
        following = lines[index + 1] if index + 1 < len(lines) and not skipped(lines[index + 1]) else None
        previous = lines[index - 1] if index > 0 else "{"
        found += comparison_mutants(path, number, line)
        found += constant_mutants(path, number, line)
        found += entry_swap_mutants(path, number, line, following)
        found += literal_mutants(path, number, line)
        found += statement_mutants(path, number, line, previous)
    return found


def planted(text: str, mutant: Mutant) -> str:
    lines = text.splitlines(keepends=True)
    index = mutant.line - 1
    width = mutant.before.count("\n") or 1
    assert "".join(lines[index:index + width]) == mutant.before
    return "".join(lines[:index]) + mutant.after + "".join(lines[index + width:])


# --- building and testing -------------------------------------------------------


def run(command: list[str], timeout: float | None = None) -> int:
    try:
        return subprocess.run(command, cwd=ROOT, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout, check=False).returncode
    except subprocess.TimeoutExpired:
        return -1


def ctest_tests(build: Path) -> list[dict]:
    output = subprocess.run(["ctest", "--test-dir", str(build), "--show-only=json-v1"], cwd=ROOT,
                            capture_output=True, text=True, check=True).stdout
    return json.loads(output)["tests"]


def programs_of(test: dict, build: Path) -> list[str]:
    """The programs of the build that a test runs, as ninja names them."""
    names = []
    for word in test.get("command", []):
        path = Path(word)
        if path.is_absolute() and path.is_file() and build.resolve() in path.resolve().parents:
            names.append(str(path.resolve().relative_to(build.resolve())))
    return names


@dataclass
class TestSelection:
    regex: str
    targets: list[str]


def unbuilt_programs(tests: list[dict], build: Path, folder: Path | None) -> list[str]:
    """The test programs ctest knows only by name so far (not yet built), of `folder` if one is given."""
    suffix = "_NOT_BUILT"
    names = [t["name"][:-len(suffix)] for t in tests if t["name"].endswith(suffix)]
    return [n for n in names if folder is None or (folder / "CMakeFiles" / f"{n}.dir").is_dir()]


def select_tests(source: Path, build: Path, include: str | None, exclude: str | None) -> TestSelection:
    folder = None if include else (build / "tests" / source.relative_to(ROOT).parts[0]).resolve()
    tests = ctest_tests(build)
    unbuilt = unbuilt_programs(tests, build, folder)
    if unbuilt and folder is None:
        print(f"   not built, so not run: {' '.join(unbuilt)}", flush=True)
    elif unbuilt:
        print(f"   building the tests first: {' '.join(unbuilt)}", flush=True)
        if run(["ninja", "-C", str(build), *unbuilt]) != 0:
            sys.exit("mutate.py: the tests do not build as they are")
        tests = ctest_tests(build)
    if folder is not None:
        chosen = [t for t in tests if any(folder in (build / p).resolve().parents for p in programs_of(t, build))]
    else:
        chosen = [t for t in tests if re.search(include, t["name"])]
    if exclude:
        chosen = [t for t in chosen if not re.search(exclude, t["name"])]
    if not chosen:
        sys.exit(f"mutate.py: no test to run for {source.relative_to(ROOT)}")
    names = sorted({t["name"] for t in chosen})
    targets = sorted({p for t in chosen for p in programs_of(t, build)})
    return TestSelection("^(" + "|".join(re.escape(n) for n in names) + ")$", targets)


# --- the run -------------------------------------------------------------------


def changed_files(base: str) -> list[Path]:
    names = subprocess.run(["git", "diff", "--name-only", base], cwd=ROOT, capture_output=True, text=True,
                           check=True).stdout.split()
    return [ROOT / n for n in names
            if n.endswith((".cpp", ".h")) and not n.startswith(("tests/", "bench/", "fuzz/")) and (ROOT / n).exists()]


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("files", nargs="*", help="C++ files (default: those changed since --base)")
    parser.add_argument("--base", default="main", help="the revision a change is measured from (default: main)")
    parser.add_argument("--build-dir", default="build", help="the ninja build folder (default: build)")
    parser.add_argument("-R", "--tests", help="run the ctest tests this regular expression names")
    parser.add_argument("-E", "--exclude", help="leave out the ctest tests this regular expression names")
    parser.add_argument("--max", type=int, default=25, help="faults planted per file at most (default: 25)")
    parser.add_argument("--seed", type=int, default=0, help="picks the sample of faults (default: 0)")
    parser.add_argument("--timeout", type=int, default=300, help="seconds a test run may take (default: 300)")
    parser.add_argument("--list", action="store_true", help="only list the faults that would be planted")
    args = parser.parse_args()

    build = (ROOT / args.build_dir).resolve()
    files = [Path(f).resolve() for f in args.files] if args.files else changed_files(args.base)
    if not files:
        print("mutate.py: no C++ file to plant faults in")
        return 0
    # Ctrl-C or a kill: the file being changed is put back first.
    signal.signal(signal.SIGTERM, lambda *_: (_ for _ in ()).throw(KeyboardInterrupt()))

    survivors: list[Mutant] = []
    for path in files:
        mutants = find_mutants(path)
        sample = sorted(random.Random(args.seed).sample(mutants, min(args.max, len(mutants))),
                        key=lambda m: (m.line, m.kind))
        print(f"== {path.relative_to(ROOT)}: {len(sample)} of {len(mutants)} faults", flush=True)
        if args.list:
            for mutant in sample:
                print("   " + mutant.describe())
            continue
        selection = select_tests(path, build, args.tests, args.exclude)
        original = path.read_text(encoding="utf-8")
        caught = unbuilt = 0
        try:
            for number, mutant in enumerate(sample, 1):
                started = time.monotonic()
                path.write_text(planted(original, mutant), encoding="utf-8")
                if run(["ninja", "-C", str(build), *selection.targets]) != 0:
                    verdict = "does not build"
                    unbuilt += 1
                elif run(["ctest", "--test-dir", str(build), "-R", selection.regex, "--stop-on-failure",
                          "--timeout", str(args.timeout)], timeout=args.timeout * 2) != 0:
                    verdict = "caught"
                    caught += 1
                else:
                    verdict = "SURVIVED"
                    survivors.append(mutant)
                print(f"  [{number}/{len(sample)}] {verdict} ({time.monotonic() - started:.0f} s): "
                      f"{mutant.describe()}", flush=True)
        finally:
            path.write_text(original, encoding="utf-8")
        run(["ninja", "-C", str(build), *selection.targets])
        print(f"   caught {caught}, survived {len(sample) - caught - unbuilt}, did not build {unbuilt}", flush=True)

    if not args.list:
        print(f"\n{len(survivors)} fault(s) no test caught:")
        for mutant in survivors:
            print("  " + mutant.describe())
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except KeyboardInterrupt:
        sys.exit(130)
    except BrokenPipeError:  # its output went to a pager or head, which has closed
        sys.exit(0)
