#!/usr/bin/env python3
"""Plants systematic slips one at a time in the engine's sources and reports which no test notices.

Each slip is written into its file, the engine and the tests of the file's folder are rebuilt in
build-mutants/, and the slip counts as caught when a test fails, the build's tests run out of time
(a slip that loops) or crash. A slip that survives its own folder's tests is tried against every
other engine test executable before it is reported. The file is put back whatever happens; a copy
in build-mutants/pending.orig repairs it at the next start should the process be killed outright.
Slips listed in docs/mutants.md (file, code and slip) count as equivalent, not as survivors.
A slip takes 7 to 20 seconds on two busy cores, so the default sample (6 a file, about 260 in
all) fits in an hour. The same seed and sources give the same sample.
"""

import argparse
import collections
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
BUILD = ROOT / "build-mutants"
PENDING = BUILD / "pending.orig"
EQUIVALENTS = ROOT / "docs" / "mutants.md"

Slip = collections.namedtuple("Slip", "path start end replacement kind label")


# --- Which files are engine: the folder list and the ui name patterns of cmake/SourceLists.cmake.

def engine_files():
    lists = (ROOT / "cmake" / "SourceLists.cmake").read_text()
    folders = re.search(r"set\(KESTRUM_ENGINE_DIRS ([^)]*)\)", lists).group(1).split()
    ui_patterns = [re.compile(p.replace("\\\\", "\\")) for p in re.findall(r'name MATCHES "([^"]+)"', lists)]
    files = {}
    for folder in folders:
        files[folder] = [p for p in sorted((ROOT / "src" / folder).glob("*.cpp"))
                         if not any(rx.search(p.stem) for rx in ui_patterns)]
    return files


def is_word(ch):
    return ch.isalnum() or ch == "_"


# --- Finding slips. Comments, literals and preprocessor lines are blanked first (same length), so
# that the patterns below see only code; the slip itself is cut from the real text.

def blank_non_code(text):
    out = list(text)
    i, n = 0, len(text)

    def blank(a, b, keep_ends=False):
        for k in range(a + (1 if keep_ends else 0), b - (1 if keep_ends else 0)):
            if out[k] != "\n":
                out[k] = " "

    line_start = True
    while i < n:
        c = text[i]
        if line_start and text[i:].lstrip(" \t").startswith("#"):
            j = text.find("\n", i)
            j = n if j < 0 else j
            blank(i, j)
            i = j
            continue
        line_start = c == "\n" or (line_start and c in " \t")
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            blank(i, j)
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i) + 2
            blank(i, j)
            i = j
        elif text.startswith('R"', i) and (i == 0 or not is_word(text[i - 1])):
            delim = text[i + 2:text.find("(", i)]
            j = text.find(")" + delim + '"', i) + len(delim) + 2
            blank(i + 1, j, keep_ends=True)
            i = j
        elif c in "\"'" and not (c == "'" and i > 0 and text[i - 1].isalnum()):  # 1'000 is a number
            j = i + 1
            while text[j] != c:
                j += 2 if text[j] == "\\" else 1
            blank(i, j + 1, keep_ends=True)
            i = j + 1
        else:
            i += 1
    return "".join(out)


RELATIONS = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
OPENERS, CLOSERS = "([{", ")]}"


def operand(code, at, step):
    """The span of the operand beside position `at`, walking in direction `step` (+1 or -1)."""
    depth, i = 0, at
    while 0 <= i < len(code):
        c = code[i]
        if c in (OPENERS if step > 0 else CLOSERS):
            depth += 1
        elif c in (CLOSERS if step > 0 else OPENERS):
            if depth == 0:
                break
            depth -= 1
        elif depth == 0:
            pair = code[i:i + 2] if step > 0 else code[i - 1:i + 1]
            assignment = c == "=" and code[i - 1] not in "=!<>" and code[i + 1] != "="
            label = c == ":" and ":" not in (code[i - 1], code[i + 1])
            if pair in ("&&", "||") or c in "?;{}," or assignment or label:
                break
            if step < 0 and code[i - 5:i + 1] == "return" and not is_word(code[i - 6]):
                break
        i += step
    lo, hi = (at, i) if step > 0 else (i + 1, at + 1)
    while lo < hi and code[lo].isspace():
        lo += 1
    while hi > lo and code[hi - 1].isspace():
        hi -= 1
    return lo, hi


def find_slips(path):
    text = path.read_text()
    code = blank_non_code(text)
    slips = []

    def add(start, end, replacement, kind, label):
        slips.append(Slip(path, start, end, replacement, kind, label))

    for m in re.finditer(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)", code):
        flipped = RELATIONS[m.group(1)]
        add(m.start(), m.end(), flipped, "comparison", f"'{m.group(1)}' -> '{flipped}'")

    for m in re.finditer(r"\s(&&|\|\|)\s", code):
        neutral = "true" if m.group(1) == "&&" else "false"
        for lo, hi in (operand(code, m.start() - 1, -1), operand(code, m.end(), +1)):
            if lo < hi:
                shown = " ".join(text[lo:hi].split())
                add(lo, hi, neutral, "condition", f"'{shown}' dropped from '{m.group(1)}'")

    for m in re.finditer(r"(?<![\w.])(\d+)([uUlL]*)(?![\w.'])", code):
        value = int(m.group(1))
        for moved in (value + 1, value - 1):
            if moved >= 0:
                add(m.start(1), m.end(1), str(moved), "constant", f"{value} -> {moved}")

    # A character range such as c >= 'a' && c <= 'z' loses its first or last character.
    for m in re.finditer(r"(<=|>=|<|>)\s*'", code):
        at = m.end() - 1
        end = code.index("'", at + 1) + 1
        literal = text[at:end]
        if len(literal) == 3:
            moved = chr(ord(literal[1]) + (1 if m.group(1).startswith(">") else -1))
            if moved not in "\\'":
                add(at, end, f"'{moved}'", "character class", f"{literal} dropped from its range")

    # A set of characters searched for loses one of them.
    for m in re.finditer(r"find_(?:first|last)_(?:not_)?of\(\s*\"", code):
        at = m.end()
        end = code.index('"', at)
        chars = re.findall(r"\\.|.", text[at:end])
        if len(chars) > 1:
            for k, ch in enumerate(chars):
                add(at, end, "".join(chars[:k] + chars[k + 1:]), "character class",
                    f"'{ch}' dropped from \"{text[at:end]}\"")

    # Statements: an early return, break or continue, and a call, assignment or step on its own line.
    # A return just before the function's closing brace is left alone: dropping it rarely compiles.
    starts = [m.start() for m in re.finditer(r"\b(return|break|continue)\b", code)]
    target = r"(?:\+\+|--)?[A-Za-z_][\w:]*(?:(?:\.|->)\w+|\[[^\]\n]*\])*"
    action = r"(?:\(|=(?!=)|\+=|-=|\*=|\|=|&=|\+\+|--|<<)"
    starts += [m.start(1) for m in re.finditer(rf"(?m)^[ \t]*({target}\s*{action})", code)]
    for start in sorted(set(starts)):
        is_return = code.startswith("return", start)
        if re.match(r"(if|for|while|switch|else|case|default)\b", code[start:]):
            continue
        before = code[:start].rstrip()
        if before and before[-1] not in ";{}):" and not before.endswith("else"):
            continue  # the middle of a longer expression
        depth, end = 0, start
        while end < len(code) and not (code[end] == ";" and depth == 0) and depth >= 0:
            depth += code[end] in OPENERS
            depth -= code[end] in CLOSERS
            end += 1
        if end >= len(code) or code[end] != ";":
            continue
        following = len(code) - len(code[end + 1:].lstrip())
        if is_return and code[following:following + 1] == "}" and code[following - 1] == "\n":
            continue
        shown = " ".join(text[start:end + 1].split())
        add(start, end + 1, "{}", "statement", f"'{shown}' removed")
    return text, slips


# --- Running.

def run(command, timeout=None, env=None):
    """The exit status ("timeout" when out of time) and what the command printed."""
    try:
        done = subprocess.run(command, cwd=ROOT, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              timeout=timeout, env=env, text=True, errors="replace")
        return done.returncode, done.stdout
    except subprocess.TimeoutExpired:
        return "timeout", ""


def build(targets, cached):
    env = dict(os.environ)
    if not cached:
        env["CCACHE_DISABLE"] = "1"  # a slip is built once; keep it out of the shared cache
    return run(["cmake", "--build", str(BUILD), "--target", *targets], env=env)[0] == 0


def failing_tests(executables, limit):
    """The tests that fail, stopping at the first executable with a failure; empty when all pass."""
    for exe in executables:
        status, output = run([str(BUILD / "tests" / exe), "--gtest_brief=1"], timeout=limit)
        if status != 0:
            failed = set(re.findall(r"^\[  FAILED  \] (\S+\.\S+)", output, re.M))
            return failed or {f"{exe} ({status if status == 'timeout' else 'crashed'})"}
    return set()


def line_of(text, offset):
    return text.count("\n", 0, offset) + 1


def equivalent_slips():
    """(file, code, slip) triples from the table in docs/mutants.md."""
    known = set()
    if EQUIVALENTS.exists():
        for row in EQUIVALENTS.read_text().splitlines():
            cells = re.split(r"(?<!\\)\|", row.strip())[1:-1]  # a "\|" inside a cell is a "|"
            cells = [c.strip().strip("`").replace("\\|", "|") for c in cells]
            if len(cells) >= 4 and cells[0].startswith("src/"):
                known.add((cells[0], " ".join(cells[1].split()), cells[2]))
    return known


def restore_pending():
    if PENDING.exists():
        target = Path(PENDING.with_suffix(".path").read_text())
        shutil.copyfile(PENDING, target)
        PENDING.unlink()
        PENDING.with_suffix(".path").unlink()
        print(f"restored {target.relative_to(ROOT)} from an interrupted run", file=sys.stderr)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seed", type=int, default=1, help="chooses the sample")
    parser.add_argument("--per-file", type=int, default=6, help="slips sampled per file (0: all)")
    parser.add_argument("--max", type=int, default=0, help="slips in all (0: no limit)")
    parser.add_argument("--folder", action="append", help="an engine folder (repeatable; default all)")
    parser.add_argument("--file", action="append", help="only files whose name contains this")
    parser.add_argument("--list", action="store_true", help="show the sample without running it")
    args = parser.parse_args()

    folders = engine_files()
    chosen = args.folder or list(folders)
    unknown = set(chosen) - set(folders)
    if unknown:
        parser.error(f"not an engine folder: {', '.join(sorted(unknown))}")

    sample = []
    for folder in chosen:
        for path in folders[folder]:
            if args.file and not any(f in path.name for f in args.file):
                continue
            _, slips = find_slips(path)
            rng = random.Random(f"{args.seed}:{path.relative_to(ROOT)}")
            by_kind = collections.defaultdict(list)
            for slip in slips:
                by_kind[slip.kind].append(slip)
            for group in by_kind.values():
                rng.shuffle(group)
            # Round robin over the kinds, so a small sample still mixes them.
            mixed = [s for group in zip(*[g + [None] * (len(slips) - len(g)) for g in by_kind.values()])
                     for s in group if s]
            sample += [(folder, s) for s in mixed[:args.per_file or None]]
    if args.max:
        random.Random(args.seed).shuffle(sample)
        sample = sorted(sample[:args.max], key=lambda fs: (str(fs[1].path), fs[1].start))

    if args.list:
        for folder, slip in sample:
            text = slip.path.read_text()
            print(f"{slip.path.relative_to(ROOT)}:{line_of(text, slip.start)}: {slip.label}")
        return 0

    BUILD.mkdir(exist_ok=True)
    restore_pending()
    if not (BUILD / "build.ninja").exists():
        # Unoptimised: a slip is compiled once and its tests are quick either way.
        subprocess.run(["cmake", "-S", str(ROOT), "-B", str(BUILD), "-G", "Ninja",
                        "-DCMAKE_BUILD_TYPE=Debug", "-DCMAKE_CXX_FLAGS_DEBUG=-O0",
                        "-DKESTRUM_BENCH=OFF"], check=True, stdout=subprocess.DEVNULL)
    every_suite = [f"{f}_tests" for f in folders if any((ROOT / "tests" / f).glob("*_test.cpp"))]
    if not build(every_suite, cached=True):
        print("the unchanged sources do not build in build-mutants/", file=sys.stderr)
        return 2
    began = time.monotonic()
    if failing_tests(every_suite, limit=600):
        print("the engine tests fail without any slip; mend them first", file=sys.stderr)
        return 2
    limit = max(10.0, 5 * (time.monotonic() - began))

    # SIGTERM ends the run like Ctrl-C does, so that the finally below puts the file back.
    signal.signal(signal.SIGTERM, lambda *_: (_ for _ in ()).throw(KeyboardInterrupt()))
    known = equivalent_slips()
    tally = collections.defaultdict(collections.Counter)
    survivors = []
    catches = collections.defaultdict(set)  # test -> the slips it caught
    current = None
    try:
        for index, (folder, slip) in enumerate(sample, 1):
            original = slip.path.read_text()
            if current != slip.path:
                if current is not None:
                    build(every_suite, cached=True)
                current = slip.path
            own = [f"{folder}_tests"] if f"{folder}_tests" in every_suite else every_suite
            PENDING.with_suffix(".path").write_text(str(slip.path))
            shutil.copyfile(slip.path, PENDING)
            try:
                slip.path.write_text(original[:slip.start] + slip.replacement + original[slip.end:])
                where = f"{slip.path.relative_to(ROOT)}:{line_of(original, slip.start)}"
                if not build(own, cached=False):
                    tally[folder]["not compiled"] += 1
                    outcome = "does not compile"
                elif failed := failing_tests(own, limit) or (
                        build(every_suite, cached=False) and
                        failing_tests([s for s in every_suite if s not in own], limit)):
                    outcome = "caught"
                    for test in failed:
                        catches[test].add(index)
                else:
                    code_line = " ".join(original.splitlines()[line_of(original, slip.start) - 1].split())
                    key = (str(slip.path.relative_to(ROOT)), code_line, slip.label)
                    outcome = "equivalent" if key in known else "SURVIVED"
                    if outcome == "SURVIVED":
                        survivors.append((where, code_line, slip.label))
                if outcome != "does not compile":
                    tally[folder]["planted"] += 1
                    tally[folder][outcome] += 1
                print(f"[{index}/{len(sample)}] {outcome:16} {where}: {slip.label}", flush=True)
            finally:
                shutil.copyfile(PENDING, slip.path)
                PENDING.unlink()
                PENDING.with_suffix(".path").unlink()
    except KeyboardInterrupt:
        print("interrupted; the sources are as they were", file=sys.stderr)
    finally:
        if current is not None:
            build(every_suite, cached=True)

    print(f"\n{'folder':14} {'planted':>8} {'caught':>8} {'survived':>9} {'equivalent':>11} {'no build':>9}")
    for folder in chosen:
        t = tally[folder]
        counts = (t["planted"], t["caught"], t["SURVIVED"], t["equivalent"], t["not compiled"])
        print(f"{folder:14} {counts[0]:8} {counts[1]:8} {counts[2]:9} {counts[3]:11} {counts[4]:9}")
    # Tests that caught the same slips in this sample: candidates for keeping only the clearer one.
    same = collections.defaultdict(list)
    for test, slips in catches.items():
        same[frozenset(slips)].append(test)
    twins = [sorted(tests) for tests in same.values() if len(tests) > 1]
    if twins:
        print("\ntests that caught exactly the same slips:")
        for tests in sorted(twins):
            print("  " + ", ".join(tests))
    if survivors:
        print("\nsurvivors:")
        for where, code_line, label in survivors:
            print(f"  {where}: {label}\n      {code_line}")
    return 1 if survivors else 0


if __name__ == "__main__":
    sys.exit(main())
