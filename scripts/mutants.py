#!/usr/bin/env python3
"""Mutation run: how many small faults planted in src/ do the tests catch?

  mutants.py sample --seed S -n N [-o SITES]   picks N sites, spread over the folders, into SITES
                  [--folders A,B,...]          from these folders of src/ (default: automation,
                                               data, report, report_forms, files, control, forms)
  mutants.py run SITES [-o RESULTS]            plants each one alone, rebuilds, runs the tests

A site is a file, line, column and change: a relational or equality operator flipped, + and -
swapped, an integer constant moved by one, a boolean constant negated, a statement or an early
return removed. The sample depends only on the seed, N and the sources, and is kept in SITES so that
runs before and after a change of the tests plant the same mutants. A site is found again after its
file moved (by name) or was reformatted (its text but for white space); one whose text is no longer
there is reported as gone. Each mutant is built incrementally in a tree of its own (default
build-mutants, configured as the ordinary build so that its first build comes from ccache), then
only the test programs that link the mutated file's object (directly, or through a program they
start) run, each under a time limit and stopping at the first failure. Verdicts: killed (with the
first failing test), survived, timeout, nocompile (not counted), gone. The source tree is restored
however the run stops. Not part of CI: it takes a while.

  mutants.py compare BEFORE AFTER              tallies, and what AFTER no longer catches

With run --every-test each mutant runs every test of every program that links it, not stopping at a
failure, and decided_by lists every test that failed. On such results,
  mutants.py killers RESULTS...               each test's kills, and the mutants only it kills
tells which tests catch something no other test catches, and which do not.

  mutants.py latest RESULTS... -o OUT          each site's row from the last file that has it
  mutants.py touched BEFORE AFTER RESULTS      the caught sites to plant again after a change of
                                               the tests between two commits: those whose first
                                               catching test is gone or changed, or whose file's
                                               fixtures changed
"""
import argparse
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FOLDERS = ["automation", "data", "report", "report_forms", "files", "control", "forms"]
FIELDS = ["id", "file", "line", "col", "kind", "old", "new", "text"]

# ---------------------------------------------------------------- finding sites

TOKEN = re.compile(r"""
    (?P<skip>//.*|/\*.*?\*/|"(?:\\.|[^"\\])*"|'(?:\\.|[^'\\])*'|R"\w*\(.*?\)\w*")
  | (?P<num>(?<![\w.])\d+(?![\w.']))
  | (?P<bool>\b(?:true|false)\b)
  | (?P<op><<=|>>=|<=>|->|<<|>>|\+\+|--|\+=|-=|==|!=|<=|>=|&&|\|\||[<>+\-])
""", re.X)
FLIP = {"==": "!=", "!=": "==", "<": ">=", ">=": "<", ">": "<=", "<=": ">"}
STATEMENT = re.compile(r"^\s*(?:\+\+|--)?[A-Za-z_]\w*(?:\s*(?:\.|->|::)\s*[A-Za-z_]\w*|\[[^\]]*\])*"
                       r"\s*(?:\(.*\)|[-+*/|&]?=[^=].*|\+\+|--)\s*;\s*$")
EARLY_RETURN = re.compile(r"^\s*if\s*\(.*\)\s*(return\b[^;]*;)\s*$")
UNCLOSED = re.compile(r'//.*|/\*.*?\*/|"(?:\\.|[^"\\])*"|(/\*)')
TEMPLATE_WORDS = re.compile(r"\b(template|static_cast|dynamic_cast|reinterpret_cast|const_cast|"
                            r"unique_ptr|shared_ptr|vector|optional|map|set|pair|function|array|"
                            r"span|variant|tuple|numeric_limits|chrono|duration|is_same_v)\b")


def balanced(text):
    depth = 0
    for ch in text:
        depth += ch in "([{"
        depth -= ch in ")]}"
        if depth < 0:
            return False
    return depth == 0


def line_sites(text, in_comment):
    """The sites of one line, and whether a block comment is still open after it."""
    sites = []
    code = text
    if in_comment:
        end = code.find("*/")
        if end < 0:
            return sites, True
        code = " " * (end + 2) + code[end + 2:]
    stripped = code.strip()
    if stripped.startswith("#") or stripped.startswith("static_assert"):
        return sites, False
    opens = False
    for m in UNCLOSED.finditer(code):  # a block comment left open: the code ends where it starts
        if m.group(1):
            code, opens = code[:m.start()], True
            break
    for m in TOKEN.finditer(code):
        kind = m.lastgroup
        tok = m.group()
        col = m.start()
        if kind == "skip":
            continue
        if kind == "num":
            value = int(tok)
            sites.append((col, "constant", tok, str(value + 1)))
            if value > 0:
                sites.append((col, "constant", tok, str(value - 1)))
        elif kind == "bool":
            sites.append((col, "boolean", tok, "false" if tok == "true" else "true"))
        elif tok in FLIP:
            # < and > are template brackets as often as comparisons: only spaced ones are comparisons.
            if tok in "<>" and (code[col - 1:col] != " " or code[col + 1:col + 2] != " "
                                or TEMPLATE_WORDS.search(code)):
                continue
            sites.append((col, "relational", tok, FLIP[tok]))
        elif tok in "+-":
            spaced = code[col - 1:col] == " " and code[col + 1:col + 2] == " "
            if spaced:
                sites.append((col, "arithmetic", tok, "-" if tok == "+" else "+"))
    m = EARLY_RETURN.match(code)
    if m and balanced(code):
        sites.append((m.start(1), "no-return", m.group(1), ";"))
    elif STATEMENT.match(code) and balanced(code) and not stripped.startswith("return"):
        sites.append((len(code) - len(code.lstrip()), "no-statement", stripped, ";"))
    return sites, opens


def configure(build):
    """The mutants' own build tree, configured once (with ccache when it is installed)."""
    if os.path.exists(os.path.join(build, "build.ninja")):
        return
    launcher = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"] if shutil.which("ccache") else []
    subprocess.run(["cmake", "-S", ROOT, "-B", build, "-G", "Ninja", "-DQUELO_TESTS=ON",
                    "-DQUELO_REQUIRE_QT=ON", "-DQUELO_BENCH=OFF", *launcher],
                   stdout=subprocess.DEVNULL, check=True)


def compiled_sources(build, folders):
    """The sources compiled in BUILD under the sampled folders (not the left-out fallbacks)."""
    with open(os.path.join(build, "compile_commands.json")) as f:
        files = {os.path.relpath(entry["file"], ROOT) for entry in json.load(f)}
    return sorted(f for f in files
                  if f.endswith(".cpp") and f.split("/")[0] == "src" and f.split("/")[1] in folders)


def all_sites(build, folders):
    by_folder = {folder: [] for folder in folders}
    for path in compiled_sources(build, folders):
        in_comment = False
        with open(os.path.join(ROOT, path)) as f:
            for number, text in enumerate(f.read().split("\n"), 1):
                sites, in_comment = line_sites(text, in_comment)
                for col, kind, old, new in sites:
                    by_folder[path.split("/")[1]].append(
                        {"file": path, "line": number, "col": col, "kind": kind,
                         "old": old, "new": new, "text": text})
    return by_folder


def sample(args):
    folders = args.folders.split(",")
    unknown = [f for f in folders if not os.path.isdir(os.path.join(ROOT, "src", f))]
    if unknown:
        sys.exit(f"mutants.py: no such folder in src/: {', '.join(unknown)}")
    by_folder = all_sites(args.build, folders)
    rng = random.Random(args.seed)
    pools = {folder: rng.sample(sites, len(sites)) for folder, sites in by_folder.items()}
    chosen = []
    while len(chosen) < args.n and any(pools.values()):
        for folder in folders:
            if pools[folder] and len(chosen) < args.n:
                chosen.append(pools[folder].pop())
    with open(args.output, "w") as f:
        f.write("\t".join(FIELDS) + "\n")
        for number, site in enumerate(chosen, 1):
            site["id"] = number
            f.write("\t".join(str(site[k]).replace("\t", " ") for k in FIELDS) + "\n")
    counts = {folder: sum(s["file"].split("/")[1] == folder for s in chosen) for folder in folders}
    print(f"{len(chosen)} sites (seed {args.seed}) in {args.output}: "
          + ", ".join(f"{k} {v}" for k, v in counts.items()))


# ---------------------------------------------------------------- the test programs of a file

def ninja(build, *args):
    return subprocess.run(["ninja", "-C", build, *args], capture_output=True, text=True).stdout


def test_programs(build):
    """The executables CTest runs, most tests first, each with the environment and folder its
    tests need."""
    out = subprocess.run(["ctest", "--test-dir", build, "--show-only=json-v1"],
                         capture_output=True, text=True, check=True).stdout
    programs = {}
    for test in json.loads(out)["tests"]:
        command = test.get("command") or []
        if not command or not os.path.abspath(command[0]).startswith(os.path.abspath(build)):
            continue
        program = programs.setdefault(command[0], {"env": {}, "cwd": build, "tests": 0, "locked": []})
        program["tests"] += 1
        # The suites that share a server (a CTest fixture or lock) keep to one process, in turn.
        if any(prop["name"] in ("RESOURCE_LOCK", "FIXTURES_REQUIRED") for prop in test.get("properties", [])):
            program["locked"].append(test["name"])
        for prop in test.get("properties", []):
            # A test that needs a CTest fixture (a database server) is told where it runs: the run
            # starts the fixtures' servers once, before the first program, and stops them at the end.
            if prop["name"] == "ENVIRONMENT":
                program["env"].update(item.split("=", 1) for item in prop["value"])
            if prop["name"] == "WORKING_DIRECTORY":
                program["cwd"] = prop["value"]
    return dict(sorted(programs.items(), key=lambda item: -item[1]["tests"]))


class Observers:
    """Which test programs can observe a source file: those whose inputs (libraries, and the
    programs they start, which CMake lists as their dependencies) take in the file's object."""

    # An object is its source's path with the target's CMakeFiles/<target>.dir/ put in where the
    # target is defined: src/CMakeFiles/quelo.dir/x/y.cpp.o, src/qt/CMakeFiles/quelo-qt.dir/y.cpp.o.
    TARGET_DIR = re.compile(r"CMakeFiles/[^/]+\.dir/")

    def __init__(self, build, programs):
        self.build = build
        self.inputs = {p: {self.TARGET_DIR.sub("", i) for i in
                           ninja(build, "-t", "inputs", os.path.relpath(p, build)).split()}
                       for p in programs}

    def of(self, path):
        return [p for p, inputs in self.inputs.items() if path + ".o" in inputs]


# ---------------------------------------------------------------- planting and judging

RUNNING = []  # the test processes running now


def kill_group(process):
    """Kills a test process with whatever it started (its process group), if any of it is left."""
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass


class Tree:
    """Plants one mutant at a time and puts the file back, whatever stops the run."""

    def __init__(self):
        self.saved = None
        self.backup_dir = tempfile.mkdtemp(prefix="quelo-mutants-")
        for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
            signal.signal(sig, self._stop)

    def _stop(self, signum, frame):
        for run in RUNNING:  # the test processes, with whatever they started
            kill_group(run)
        self.restore()
        sys.exit(128 + signum)

    def plant(self, path, text):
        full = os.path.join(ROOT, path)
        backup = os.path.join(self.backup_dir, "original")
        shutil.copy2(full, backup)
        self.saved = (full, backup)
        with open(full, "w") as f:
            f.write(text)

    def restore(self):
        if self.saved:
            full, backup = self.saved
            shutil.copyfile(backup, full)  # a new time stamp: the next build compiles it again
            self.saved = None

    def close(self):
        self.restore()
        shutil.rmtree(self.backup_dir, ignore_errors=True)


def source_of(site):
    """The site's file: where it was drawn, or the one file of that name under src/ if it moved."""
    path = os.path.join(ROOT, site["file"])
    if os.path.exists(path):
        return site["file"]
    name = os.path.basename(site["file"])
    found = [os.path.relpath(os.path.join(folder, name), ROOT)
             for folder, _, files in os.walk(os.path.join(ROOT, "src")) if name in files]
    return found[0] if len(found) == 1 else None


def squeezed(text):
    return re.sub(r"\s+", "", text)


def site_span(lines, site, number):
    """(first, last) line numbers of the site's text: the line as drawn, else the nearest line or
    run of up to six lines that reads the same but for white space (the file was reformatted)."""
    if 0 < number <= len(lines) and lines[number - 1] == site["text"]:
        return number, number
    want = squeezed(site["text"])
    spans = []
    for first in range(1, len(lines) + 1):
        joined = ""
        for last in range(first, min(first + 6, len(lines) + 1)):
            joined += squeezed(lines[last - 1])
            if not want.startswith(joined):
                break
            if joined == want:
                spans.append((first, last))
                break
    if not spans:
        return None
    return min(spans, key=lambda span: (abs(span[0] - number), span[1] - span[0]))


def mutated(site):
    """(the mutated file's path and text, its line), or (None, line) when the site's text is no
    longer in the file. The site is found again after a move or a reformat."""
    source = source_of(site)
    number = int(site["line"])
    if source is None:
        return None, number
    with open(os.path.join(ROOT, source)) as f:
        lines = f.read().split("\n")
    span = site_span(lines, site, number)
    if span is None:
        return None, number
    first, last = span
    text, old = site["text"], site["old"]
    col = text.find(old) if site["kind"] == "no-statement" else int(site["col"])
    assert text[col:col + len(old)] == old, site
    # The change starts after as many characters other than white space as it did when drawn.
    before = len(squeezed(text[:col]))
    for number in range(first, last + 1):
        line = lines[number - 1]
        at = next((i for i in range(len(line) + 1) if len(squeezed(line[:i])) == before and
                   (i == len(line) or not line[i].isspace())), None)
        if at is not None and at < len(line):
            break
        before -= len(squeezed(line))
    if site["kind"] == "no-statement" and number != last:
        # A statement spread over lines: its first line keeps what comes before it and the empty
        # statement, the others are emptied.
        lines[number - 1] = line[:at] + site["new"]
        for other in range(number + 1, last + 1):
            lines[other - 1] = ""
        return (source, "\n".join(lines)), number
    assert line[at:at + len(old)] == old, (site, line)
    lines[number - 1] = line[:at] + site["new"] + line[at + len(old):]
    return (source, "\n".join(lines)), number


def shard_runs(program, env_of, shards):
    """The processes one program runs as: its tests in `shards` shards side by side (they mostly
    wait on browsers, processes and timers), and the tests that share a database server together
    in one process of their own."""
    locked = env_of[program]["locked"]
    rest = "-" + ":".join(locked) if locked else "*"
    runs = [(rest, {"GTEST_TOTAL_SHARDS": str(shards), "GTEST_SHARD_INDEX": str(i)}) for i in range(shards)]
    return runs + ([(":".join(locked), {})] if locked else [])


def failures(program, outputs):
    """The failed tests in the programs' outputs, each as program:test, in order, once."""
    failed = []
    for output in outputs:
        output.seek(0)
        failed += re.findall(r"^\[  FAILED  \] ([A-Za-z_][\w/]*\.[^\s,]+)", output.read(), re.M)
    name = os.path.basename(program)
    return [f"{name}:{test}" for test in dict.fromkeys(failed)] or [name]


def run_program(program, env_of, limit, shards, every_test):
    """Runs one program's tests: killed (with the first failing test, or with every_test all
    of them), timeout or survived."""
    runs = []
    try:
        for test_filter, shard_env in shard_runs(program, env_of, shards):
            # A mutant may make a test print any bytes: they are read back as text come what may.
            output = tempfile.TemporaryFile("w+", errors="replace")
            process = subprocess.Popen(
                [program, "--gtest_brief=1", "--gtest_filter=" + test_filter]
                + ([] if every_test else ["--gtest_fail_fast"]),
                env=dict(os.environ, **env_of[program]["env"], **shard_env), cwd=env_of[program]["cwd"],
                stdout=output, stderr=subprocess.STDOUT, start_new_session=True)
            runs.append((process, output))
            RUNNING.append(process)
        deadline = time.time() + limit
        while True:
            codes = [process.poll() for process, _ in runs]
            failed = [output for (process, output), code in zip(runs, codes) if code not in (None, 0)]
            if failed and not every_test:
                return "killed", failures(program, failed[:1])[0]
            if all(code is not None for code in codes):
                return ("killed", ",".join(failures(program, failed))) if failed else ("survived", "")
            if time.time() > deadline:
                return "timeout", os.path.basename(program)
            time.sleep(0.2)
    finally:
        for process, output in runs:
            kill_group(process)
            process.wait()
            output.close()
        RUNNING.clear()


def judge(build, jobs, programs, env_of, limit, shards, every_test=False):
    """Builds and runs each program in turn, the one with most tests first: killed, timeout,
    survived or nocompile, and what decided it (the program and its first failing test; with
    every_test, every failing test of every program)."""
    killers = []
    for program in programs:
        built = subprocess.run(["ninja", "-C", build, "-j", str(jobs), os.path.relpath(program, build)],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if built.returncode != 0:
            return "nocompile", os.path.basename(program)
        verdict, decided_by = run_program(program, env_of, limit, shards, every_test)
        if verdict == "killed" and every_test:
            killers.append(decided_by)
        elif verdict != "survived":
            return verdict, decided_by
    return ("killed", ",".join(killers)) if killers else ("survived", "")


def servers(build, step):
    """Starts or stops the database servers the CTest fixtures set up for the tests."""
    subprocess.run(["ctest", "--test-dir", build, "-R", f"_server_{step}$"],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def read_sites(path):
    with open(path) as f:
        rows = [line.rstrip("\n").split("\t") for line in f if line.strip()]
    return [dict(zip(rows[0], row)) for row in rows[1:]]


def run(args):
    build = args.build
    sites = read_sites(args.sites)
    if args.only:
        sites = [s for s in sites if s["id"] in set(args.only.split(","))]
    # CTest lists a test program's tests only once the program is built.
    if subprocess.run(["ninja", "-C", build, "-j", str(args.jobs)], stdout=subprocess.DEVNULL).returncode:
        sys.exit("mutants.py: the unmutated tree does not build")
    env_of = test_programs(build)
    if not env_of:
        sys.exit(f"mutants.py: CTest lists no test program in {build}")
    observers = Observers(build, env_of)
    tree = Tree()
    servers(build, "start")
    out = open(args.output, "w")
    out.write("id\tverdict\tfile\tline\tkind\tchange\tseconds\tdecided_by\n")
    tally = {}
    try:
        start = time.time()
        verdict, program = judge(build, args.jobs, list(env_of), env_of, args.timeout * 4, args.shards)
        if verdict != "survived":
            sys.exit(f"mutants.py: the unmutated tests do not pass ({verdict} in {program})")
        print(f"reference build and run pass in {time.time() - start:.0f} s", flush=True)
        for site in sites:
            start = time.time()
            planted, line = mutated(site)
            source = planted[0] if planted else site["file"]
            programs = observers.of(source) if planted else []
            if planted is None:
                verdict, program = "gone", ""
            elif not programs:
                verdict, program = "survived", "(no test program links it)"
            else:
                if any(env_of[p]["locked"] for p in programs):
                    # The database suites expect the fresh servers a CTest run gives them.
                    servers(build, "stop")
                    servers(build, "start")
                tree.plant(*planted)
                verdict, program = judge(build, args.jobs, programs, env_of, args.timeout, args.shards,
                                         args.every_test)
                tree.restore()
            tally[verdict] = tally.get(verdict, 0) + 1
            change = f"{site['old']} -> {site['new']}"
            row = [site["id"], verdict, source, str(line), site["kind"], change,
                   f"{time.time() - start:.0f}", program]
            out.write("\t".join(row) + "\n")
            out.flush()
            print("  ".join(row), flush=True)
    finally:
        tree.close()
        out.close()
        servers(build, "stop")
        if subprocess.run(["git", "-C", ROOT, "diff", "--quiet", "--", "src/"]).returncode != 0:
            print("mutants.py: WARNING: src/ differs from the last commit", file=sys.stderr)
    counted = sum(tally.get(v, 0) for v in ("killed", "survived", "timeout"))
    caught = tally.get("killed", 0) + tally.get("timeout", 0)
    print("summary: " + ", ".join(f"{k} {v}" for k, v in sorted(tally.items()))
          + (f"; caught {caught}/{counted} = {100 * caught / counted:.1f}%" if counted else ""))


def read_results(path):
    with open(path) as f:
        rows = [line.rstrip("\n").split("\t") for line in f if line.strip()]
    return {row[0]: dict(zip(rows[0], row)) for row in rows[1:]}


def compare(args):
    """Tallies of each results file, and the mutants killed in the first but not in the second."""
    runs = [read_results(path) for path in args.results]
    for path, run in zip(args.results, runs):
        tally = {}
        for row in run.values():
            tally[row["verdict"]] = tally.get(row["verdict"], 0) + 1
        counted = sum(tally.get(v, 0) for v in ("killed", "survived", "timeout"))
        caught = tally.get("killed", 0) + tally.get("timeout", 0)
        rate = f"; caught {caught}/{counted} = {100 * caught / counted:.1f}%" if counted else ""
        print(f"{path}: " + ", ".join(f"{k} {v}" for k, v in sorted(tally.items())) + rate)
    if len(runs) == 2:
        before, after = runs
        lost = [row for key, row in before.items() if row["verdict"] in ("killed", "timeout")
                and key in after and after[key]["verdict"] not in ("killed", "timeout", "gone")]
        for row in lost:
            print(f"no longer caught: {row['id']} {row['file']}:{row['line']} {row['change']}")
        print(f"{len(lost)} mutants caught before are no longer caught")


def latest(args):
    """Each site's row from the last of the results files that has it: one sample's verdicts
    gathered from runs over parts of it."""
    rows, header = {}, None
    for path in args.results:
        run = read_results(path)
        rows.update(run)
        header = header or (list(next(iter(run.values())).keys()) if run else None)
    with open(args.output, "w") as f:
        f.write("\t".join(header) + "\n")
        for key in sorted(rows, key=int):
            f.write("\t".join(rows[key].get(k, "") for k in header) + "\n")


TEST_DEFINITION = re.compile(r"^(?:TEST|TEST_F|TEST_P)\((\w+),\s*(\w+)\)", re.M)


def test_blocks(text):
    """Each test's text (up to its closing brace) by name, and the file's text outside its tests."""
    tests, outside, last = {}, [], 0
    found = list(TEST_DEFINITION.finditer(text))
    for i, m in enumerate(found):
        outside.append(text[last:m.start()])
        end = found[i + 1].start() if i + 1 < len(found) else len(text)
        close = text.find("\n}\n", m.start(), end)
        last = end if close < 0 else close + 3
        tests[f"{m.group(1)}.{m.group(2)}"] = text[m.start():last]
    outside.append(text[last:])
    return tests, "".join(outside)


def git(*words):
    return subprocess.run(["git", "-C", ROOT, *words], capture_output=True, text=True,
                          check=True).stdout


def tests_at(rev):
    """Each test of REV by name with its file and text, and each file's text outside its tests."""
    tests, outside = {}, {}
    for path in git("ls-tree", "-r", "--name-only", rev, "tests").split():
        if path.endswith(".cpp"):
            found, outside[path] = test_blocks(git("show", f"{rev}:{path}"))
            tests.update({name: (path, body) for name, body in found.items()})
    return tests, outside


def touched(args):
    """The caught sites whose first catching test a change of the tests touched: to plant again."""
    old, old_outside = tests_at(args.before)
    new, new_outside = tests_at(args.after)
    ids = []
    for row in read_results(args.results).values():
        if row["verdict"] != "killed":
            continue
        name = row["decided_by"].split(",")[0].split(":")[-1].split(" ")[0]
        if name not in old:
            why = "caught by no single test of " + args.before
        elif name not in new:
            why = "its catching test is gone"
        elif old[name][1] != new[name][1]:
            why = "its catching test changed"
        elif old_outside[old[name][0]] != new_outside.get(new[name][0]):
            why = "the file around its catching test changed"
        else:
            continue
        ids.append(row["id"])
        print(f"{row['id']}\t{name}\t{why}")
    fakes = git("diff", "--name-only", args.before, args.after, "--", "tests/fakes").split()
    if fakes:
        print("the shared test code changed too (" + " ".join(fakes) + "): plant every site again")
    print("--only " + ",".join(ids))


def killers(args):
    """Each test's kills over results of run --every-test, and the mutants only it kills."""
    kills = {}
    alone = {}
    for path in args.results:
        for row in read_results(path).values():
            if row["verdict"] != "killed":
                continue
            tests = row["decided_by"].split(",")
            for test in tests:
                kills[test] = kills.get(test, 0) + 1
                alone.setdefault(test, [])
            if len(tests) == 1:
                alone[tests[0]].append(row["id"])
    for test in sorted(kills, key=lambda t: (-len(alone[t]), -kills[t], t)):
        only = f"; alone: {' '.join(alone[test])}" if alone[test] else ""
        print(f"{test}\tkills {kills[test]}{only}")
    print(f"{sum(1 for t in kills if not alone[t])} of {len(kills)} tests kill no mutant alone")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build-mutants"),
                        help="the build tree of the mutants (default: build-mutants)")
    commands = parser.add_subparsers(dest="command", required=True)
    p = commands.add_parser("sample", help="pick the sites")
    p.add_argument("--seed", type=int, default=31)
    p.add_argument("-n", type=int, default=150)
    p.add_argument("--folders", default=",".join(FOLDERS),
                   help="comma-separated folders of src/ to draw from (default: %(default)s)")
    p.add_argument("-o", "--output", default="mutants-sites.tsv")
    p.set_defaults(func=sample)
    p = commands.add_parser("run", help="plant and judge each site")
    p.add_argument("sites")
    p.add_argument("-o", "--output", default="mutants-results.tsv")
    p.add_argument("--timeout", type=int, default=90, help="seconds per test program")
    p.add_argument("--jobs", type=int, default=2)
    p.add_argument("--shards", type=int, default=2, help="processes each test program runs as")
    p.add_argument("--only", help="comma-separated site ids")
    p.add_argument("--every-test", action="store_true",
                   help="run every test on each mutant and list every test that fails")
    p.set_defaults(func=run)
    p = commands.add_parser("compare", help="tally results, and what the second no longer catches")
    p.add_argument("results", nargs="+")
    p.set_defaults(func=compare)
    p = commands.add_parser("latest", help="each site's verdict in the last results file that has it")
    p.add_argument("results", nargs="+")
    p.add_argument("-o", "--output", default="mutants-latest.tsv")
    p.set_defaults(func=latest)
    p = commands.add_parser("touched", help="the caught sites whose catching test a change touched")
    p.add_argument("before", help="the commit the results were measured at")
    p.add_argument("after", help="the commit with the changed tests")
    p.add_argument("results", help="each site's last verdict (latest)")
    p.set_defaults(func=touched)
    p = commands.add_parser("killers", help="over results of run --every-test: each test's kills")
    p.add_argument("results", nargs="+")
    p.set_defaults(func=killers)
    args = parser.parse_args()
    args.build = os.path.abspath(args.build)
    if args.command not in ("compare", "killers", "latest", "touched"):
        configure(args.build)
    args.func(args)


if __name__ == "__main__":
    main()
