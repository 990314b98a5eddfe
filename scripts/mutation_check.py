#!/usr/bin/env python3
"""Mutation check: how many small faults in the product code does the test suite catch?

Samples mutation sites in the product C++ (not tests/, fuzz/, bench/), applies one at a time to
the working tree, rebuilds, and runs the tests that can observe it. A mutant that does not
compile is stillborn and left out of the rate; a failing or timed-out test kills it.

  scripts/mutation_check.py [--repo DIR] [--build-dir DIR] [--seed 9] [--count 80 | --per-folder 24]
                            [--folders card,cli] [--carry REPORT] [--skip-tests REGEX]
                            [--operators relational,arithmetic,...] [--report FILE] [--list]
                            [--no-coverage-map] [--coverage-dir DIR]

The same seed over the same tree samples the same mutants; with --per-folder, the same seed
samples the same mutants in every folder whose files are unchanged. Every mutated file is restored
afterwards, also on Ctrl-C; if the run is killed hard, `git checkout -- FILE` in the repo.

A mutant runs only the tests that ran one of its lines: once per commit, a second build made with
--coverage (`--coverage-dir`, default <repo>/build-coverage) runs each test alone and gcov tells
which lines it ran. A line gcov counts as code that no test ran leaves the mutant survived once it
builds, with no test run; a line gcov does not know (a declaration, a constant) runs every test
whose program was relinked, as --no-coverage-map does for all.

Started as root, the script builds as root but runs every test as an unprivileged user (a system
user `brenvik-mutation`, made when missing; `--test-user NAME` names another), with a HOME, TMPDIR
and XDG folders of its own below /tmp (named after the build tree, so two runs never share them),
made afresh for every mutant. A mutant that builds a wrong path (an empty folder name, say) then
cannot write into `/` or root's home.

Two kinds of mutant are set apart from the behaviour kill rate:
  equivalent  a returned std::nullopt, 0, false or nullptr replaced by {}: the same value, so no
              test can tell; or one read by hand and listed, with the reason, in
              scripts/mutation_equivalents.txt. These are not built at all.
  look        a change to where a widget sits or how something is painted (twips, colours, pens,
              the lines of an icon). The suite keeps one look check per window and no pinned
              layout numbers, so these are reported beside the rate, not in it.
`--rescore REPORT.json` prints a saved report again under these rules, so that runs made before
them compare with runs made after.
"""
import argparse
import bisect
import hashlib
import json
import os
import pwd
import random
import re
import shlex
import shutil
import signal
import subprocess
import sys
import time
from collections import Counter, namedtuple
from dataclasses import asdict, dataclass
from pathlib import Path

OPERATORS = ("relational", "arithmetic", "literal", "negate", "delete-call", "logical", "return")
NON_PRODUCT = ("tests/", "fuzz/", "bench/")
# Words after which a +, -, * or && cannot be binary, and that never start a call statement.
KEYWORDS = set("""alignas alignof and asm auto bool break case catch char class co_await co_return
co_yield const consteval constexpr constinit const_cast continue decltype default delete do
double dynamic_cast else enum explicit export extern float for friend goto if inline int long
mutable namespace new noexcept not operator or private protected public register
reinterpret_cast requires return short signed sizeof static static_assert static_cast struct
switch template thread_local throw try typedef typeid typename union unsigned using virtual void
volatile while""".split())
TOKEN = re.compile(r"""(?P<num>\.?\d(?:[eEpP][+-]|[\w.'])*)|(?P<id>[A-Za-z_]\w*)
  |(?P<punct><=>|<<=|>>=|->\*|\.\.\.|::|->|\+\+|--|<<|>>|&&|\|\||[-+*/%&|^!=<>]=|\S)""", re.X)
INTEGER = re.compile(r"(0[xX][0-9a-fA-F']+|[0-9][0-9']*)([uUlLzZ]*)")
RELATIONAL_SWAP = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
ARITHMETIC_SWAP = {"+": "-", "-": "+", "*": "/", "/": "*", "+=": "-=", "-=": "+=", "*=": "/=", "/=": "*="}


Token = namedtuple("Token", "start end text kind")  # kind: "num", "id" or "punct"


@dataclass
class Mutant:
    file: str
    line: int
    col: int
    operator: str
    edits: tuple  # ((start, end, replacement), ...) as offsets into the file's text
    before: str = ""
    after: str = ""
    outcome: str = ""  # "killed", "survived", "stillborn" or "equivalent"
    tests_run: int = 0
    killed_by: str = ""
    selection: str = ""  # "coverage": only the tests that ran its lines; "all": every observing test
    build_seconds: float = 0.0
    seconds: float = 0.0


# ---------------------------------------------------------------- reading the code

def mask_non_code(text):
    """The text with comments, string and char literals, preprocessor lines and static_asserts
    blanked to spaces, so that every offset and newline stays where it was."""
    out, i, n, line_start = list(text), 0, len(text), True
    def blank(a, b):
        for k in range(a, b):
            if out[k] != "\n":
                out[k] = " "
    while i < n:
        c = text[i]
        if line_start and c == "#":  # a directive runs on over backslash-newlines
            j = i
            while j < n and (text[j] != "\n" or text[j - 1] == "\\"):
                j += 1
            blank(i, j); i = j; continue
        if c == "\n" or not c.isspace():
            line_start = c == "\n"
        if text.startswith("//", i):
            j = text.find("\n", i); j = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2); j = n if j < 0 else j + 2
        elif c == '"' and re.search(r"(?<!\w)(?:u8|u|U|L)?R$", text[max(0, i - 3):i]):
            delim = text[i + 1:text.index("(", i)]
            j = text.index(")" + delim + '"', i) + len(delim) + 2
        elif c == '"' or (c == "'" and not re.search(r"(?<![\w'])\d[\w']*$", text[max(0, i - 40):i])):
            j = i + 1  # a ' inside a number is a digit separator, not a char literal
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            j += 1
        else:
            i += 1; continue
        blank(i, j); i = j
    masked = "".join(out)
    for m in re.finditer(r"\bstatic_assert\b[^;]*;", masked):
        masked = masked[:m.start()] + re.sub(r"[^\n]", " ", m.group()) + masked[m.end():]
    return masked


def matching(tokens, i):
    """Index of the bracket that closes tokens[i] ( ( [ or { ), or None."""
    pairs, depth = {"(": ")", "[": "]", "{": "}"}, 0
    for j in range(i, len(tokens)):
        t = tokens[j].text
        depth += t in pairs
        depth -= t in pairs.values()
        if depth == 0:
            return j
    return None


def template_brackets(tokens):
    """Indices of < and > (or >>) tokens that are template brackets rather than comparisons:
    a < after a name whose scan reaches its closing > before anything only an expression has."""
    found = set()
    for i, tok in enumerate(tokens):
        if tok.text != "<" or i == 0 or tokens[i - 1].kind != "id" or tokens[i - 1].text == "operator":
            continue
        depth, parens = 1, 0
        for j in range(i + 1, min(len(tokens), i + 64)):
            t = tokens[j].text
            parens += t in "(["
            parens -= t in ")]"
            if parens < 0 or t in (";", "{", "}") or (parens == 0 and t in ("&&", "||", "?", "and", "or")):
                break
            if parens == 0:
                depth += (t == "<") - (t == ">") - 2 * (t == ">>")
                if depth <= 0:
                    found.update((i, j))
                    break
    return found


def code_tokens(tokens):
    """Per token, whether it sits in a function body (not at namespace, class or enum scope)."""
    stack, inside, result = [], False, []
    for i, tok in enumerate(tokens):
        if tok.text == "{":
            prev = tokens[i - 1].text if i else ""
            stack.append(inside)
            inside = inside or prev in (")", "]", "}", "const", "override", "noexcept", "mutable",
                                        "else", "do", "try")
        elif tok.text == "}" and stack:
            inside = stack.pop()
        result.append(inside)
    return result


def ends_operand(tok):
    return tok.kind == "num" or tok.text in (")", "]") or (tok.kind == "id" and tok.text not in KEYWORDS)


def spaced(text, tok):
    return text[tok.start - 1].isspace() and text[tok.end].isspace()


# ---------------------------------------------------------------- the mutation operators
# Each yields (operator, edits) for one file; edits are (start, end, replacement) offsets.

def relational(text, tokens, ctx):
    for i, tok in enumerate(tokens):
        if tok.text in RELATIONAL_SWAP and i not in ctx["templates"] and tokens[i - 1].text != "operator":
            yield [(tok.start, tok.end, RELATIONAL_SWAP[tok.text])]


def arithmetic(text, tokens, ctx):
    for i, tok in enumerate(tokens):
        if tok.text not in ARITHMETIC_SWAP or i == 0:
            continue
        binary = tok.text.endswith("=") or ends_operand(tokens[i - 1])
        if tok.text == "*" and not spaced(text, tok):  # T* p is a declarator, a * b a product
            binary = False
        if binary:
            yield [(tok.start, tok.end, ARITHMETIC_SWAP[tok.text])]


def literal(text, tokens, ctx):
    for i, tok in enumerate(tokens):
        m = INTEGER.fullmatch(tok.text) if tok.kind == "num" else None
        pure = [t.text for t in tokens[i - 2:i + 2]]  # ") = 0;" declares a pure virtual function
        if not m or (len(pure) == 4 and pure[0] in (")", "const", "override", "noexcept")
                     and pure[1:] == ["=", "0", ";"]):
            continue
        digits, suffix = m.group(1).replace("'", ""), m.group(2)
        if digits[:2].lower() == "0x":
            case = "X" if any(c in "ABCDEF" for c in digits) else "x"  # keep case and zero padding
            new = digits[:2] + format(int(digits, 16) + 1, f"0{len(digits) - 2}{case}")
        elif len(digits) > 1 and digits[0] == "0":
            new = "0" + format(int(digits, 8) + 1, "o")
        else:
            new = str(int(digits) + 1)
        yield [(tok.start, tok.end, new + suffix)]


def negate(text, tokens, ctx):
    for i, tok in enumerate(tokens[:-1]):
        if tok.text not in ("if", "while") or tokens[i + 1].text != "(":
            continue
        close = matching(tokens, i + 1)
        inner = tokens[i + 2:close] if close else []
        depth, plain = 0, bool(inner)
        for t in inner:  # skip init-statements and declarations: !( ) cannot wrap them
            depth += t.text in "([{"
            depth -= t.text in ")]}"
            plain = plain and not (depth == 0 and t.text in (";", "="))
        if plain:
            yield [(tokens[i + 1].end, tokens[i + 1].end, "!("), (tokens[close].start, tokens[close].start, ")")]


def delete_call(text, tokens, ctx):
    starts, lines = [0] + [m.end() for m in re.finditer("\n", text)], {}
    for i, tok in enumerate(tokens):
        lines.setdefault(bisect.bisect_right(starts, tok.start), []).append(i)
    for idx in lines.values():
        first, last = idx[0], idx[-1]
        starts_statement = first == 0 or tokens[first - 1].text in (";", "{", "}", ")", ":", "else", "do")
        if ctx["code"][first] and starts_statement and tokens[last].text == ";" and is_call(tokens, first, last, ctx):
            yield [(tokens[first].start, tokens[last].end, ";")]


def is_call(tokens, first, last, ctx):
    """Whether tokens[first:last] is one call chain: name(...), obj.name(...), a::b->c(...)."""
    i = first + (tokens[first].text in ("emit", "::"))
    head = tokens[i]
    if head.kind != "id" or (head.text in KEYWORDS) or head.text.isupper():  # MACROS are not calls
        return False
    i, called = i + 1, False
    while i < last:
        t = tokens[i].text
        if t in ("::", ".", "->") and tokens[i + 1].kind == "id":
            i, called = i + 2, False
        elif t in ("(", "["):
            close = matching(tokens, i)
            if close is None or close >= last:
                return False
            i, called = close + 1, t == "("
        elif t == "<" and i in ctx["templates"]:
            close = next((j for j in range(i + 1, last) if j in ctx["templates"]), last)
            i = close + 1 if close < last else last + 1  # an unclosed < leaves the loop unmatched
        else:
            return False
    return called


def logical(text, tokens, ctx):
    for i, tok in enumerate(tokens):
        if tok.text == "||" or (tok.text == "&&" and spaced(text, tok) and ends_operand(tokens[i - 1])):
            yield [(tok.start, tok.end, "&&" if tok.text == "||" else "||")]


def return_value(text, tokens, ctx):
    for i, tok in enumerate(tokens[:-1]):
        if tok.text != "return" or tokens[i + 1].text == ";":
            continue
        j, depth = i + 1, 0
        while j < len(tokens) and not (depth == 0 and tokens[j].text == ";"):
            depth += tokens[j].text in "([{"
            depth -= tokens[j].text in ")]}"
            j += 1
        if j < len(tokens) and text[tokens[i + 1].start:tokens[j].start].strip() != "{}":
            yield [(tokens[i + 1].start, tokens[j - 1].end, "{}")]


OPERATOR_FUNCTIONS = {"relational": relational, "arithmetic": arithmetic, "literal": literal,
                      "negate": negate, "delete-call": delete_call, "logical": logical,
                      "return": return_value}


# ---------------------------------------------------------------- kinds of mutant

# A return of one of these, replaced by {}, returns the very same value.
DEFAULT_VALUE = re.compile(r"return\s+(std::nullopt|0[uUlLzZ]*|0\.0f?|false|nullptr)\s*;")
# Window code's files that only paint: pictures, icons, colours, the focus ring.
LOOK_FILE = re.compile(r"(Art|Images|Look|FocusRing)\.(cpp|h)$")
WINDOW_CODE = re.compile(r"(^|/)(ui|shell|widgets|converter_window)/|^platform/Qt")
# A line of window code that places or paints: a rectangle, a colour, a pen, a drawing call, a
# row of a table of twips.
LOOK_LINE = re.compile(r"""\b(Q(Color|Pen|Brush|Rect|RectF|Size|Point|Polygon|LinearGradient)
    |placeTwips|twipsToPixels|draw[A-Z]\w*|fill(Rect|Path)|adjusted
    |set(Pen|Brush|RenderHint|Palette|AutoFillBackground|ContentsMargins|Spacing)
    |add(Widget|Stretch|Spacing))\b
    |\{[^{},]+,[^{},]+,[^{},]+,[^{},]+\}  # a rectangle in twips
    |^[-\d\s{},()]*[{}][-\d\s{},()]*$""", re.X)  # or a row of a table of twips


def judged_equivalent():
    """{(file, line before, line after)} of the mutants read by hand and found to behave as the
    original wherever the program runs, each with its reason in scripts/mutation_equivalents.txt."""
    path = Path(__file__).resolve().parent / "mutation_equivalents.txt"
    rows = [line.split("\t") for line in path.read_text().splitlines() if line and not line.startswith("#")]
    return {tuple(row[:3]) for row in rows if len(row) == 4}


JUDGED_EQUIVALENT = judged_equivalent()


def kind_of(m):
    """"equivalent", "look" or "" (behaviour) for a mutant, from its file and original line."""
    if m.operator == "return" and DEFAULT_VALUE.search(m.before):
        return "equivalent"
    if (m.file, m.before, m.after) in JUDGED_EQUIVALENT:
        return "equivalent"
    if WINDOW_CODE.search(m.file) and (LOOK_FILE.search(m.file) or LOOK_LINE.search(m.before)):
        return "look"
    return ""


# ---------------------------------------------------------------- sites and sampling

def product_files(repo):
    names = run(["git", "-C", str(repo), "ls-files", "*.cpp", "*.h"])[1].split()
    return sorted(n for n in names if not n.startswith(NON_PRODUCT))


def apply_edits(text, edits):
    for start, end, new in sorted(edits, reverse=True):
        text = text[:start] + new + text[end:]
    return text


def line_at(text, offset):
    start = text.rfind("\n", 0, offset) + 1
    end = text.find("\n", offset)
    return text[start:len(text) if end < 0 else end]


def file_sites(repo, name, operators):
    text = (repo / name).read_bytes().decode("utf-8", "surrogateescape")
    masked = mask_non_code(text)
    tokens = [Token(m.start(), m.end(), m.group(), m.lastgroup) for m in TOKEN.finditer(masked)]
    ctx = {"templates": template_brackets(tokens), "code": code_tokens(tokens)}
    for op in operators:
        for edits in OPERATOR_FUNCTIONS[op](masked, tokens, ctx):
            first = min(edits)[0]
            line = text.count("\n", 0, first) + 1
            col = first - text.rfind("\n", 0, first)
            mutated = apply_edits(text, edits)
            yield Mutant(name, line, col, op, tuple(edits), line_at(text, first).strip(),
                         line_at(mutated, first).strip())


def folder_of(m):
    """The folder a mutant's file lies in ("card", "card/ui"): each is sampled and rated apart."""
    return os.path.dirname(m.file)


def sample(repo, operators, count, seed, per_folder=None, folders=None):
    """`count` sites from the whole product, or `per_folder` sites from each folder
    (each folder drawn by its own generator, so a folder's draw stays the same while its own
    files do, whatever changes elsewhere). `folders` keeps only the folders named."""
    sites = [m for name in product_files(repo) for m in file_sites(repo, name, operators)
             if not folders or os.path.dirname(name) in folders]
    sites.sort(key=lambda m: (m.file, m.line, m.col, m.operator, m.edits))
    if per_folder is None:
        chosen = random.Random(seed).sample(sites, min(count, len(sites)))
    else:
        chosen = []
        for folder in sorted({folder_of(m) for m in sites}):
            group = [m for m in sites if folder_of(m) == folder]
            chosen += random.Random(f"{seed}:{folder}").sample(group, min(per_folder, len(group)))
    return sites, sorted(chosen, key=lambda m: (m.file, m.line, m.col, m.operator))


# ---------------------------------------------------------------- building and testing

def run(cmd, timeout=None, user=None):
    """(exit code, output, timed out). The child gets its own process group, so a hung test
    and everything it spawned can be stopped together. With a TestUser it runs as that user."""
    switch = user.popen_arguments() if user else {}
    proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            errors="replace", start_new_session=True, **switch)
    try:
        out, _ = proc.communicate(timeout=timeout)
        return proc.returncode, out, False
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        return -1, proc.communicate()[0], True
    except BaseException:
        os.killpg(proc.pid, signal.SIGKILL)
        raise


def configure(repo, build, coverage=False):
    """Configures the build unless its cache already holds these settings. A warning must not
    stop a mutant from building; lld, where present, links the ~40 programs a few times faster
    than the default linker, and each mutant in a bottom layer relinks all of them. With
    `coverage` the same build counts the lines it runs (gcov), through ccache, as it is built
    afresh for every new commit."""
    wanted = {"CMAKE_BUILD_TYPE:STRING": "RelWithDebInfo"}
    if re.search(r"option\(\s*BRENVIK_WERROR\b", (repo / "CMakeLists.txt").read_text()):
        wanted["BRENVIK_WERROR:BOOL"] = "OFF"
    if re.search(r"option\(\s*BRENVIK_TEST_SEAMS\b", (repo / "CMakeLists.txt").read_text()):
        wanted["BRENVIK_TEST_SEAMS:BOOL"] = "ON"  # as the test command builds: the seam tests run
    if Path("/usr/bin/python3").exists():  # the tests' scripts run as the test user: not a root-only interpreter
        wanted["Python3_EXECUTABLE:FILEPATH"] = "/usr/bin/python3"
    if shutil.which("ld.lld"):
        wanted["CMAKE_EXE_LINKER_FLAGS:STRING"] = "-fuse-ld=lld"
    if coverage:
        # BRENVIK_COVERAGE: programs that end with _Exit (the companion) write their counts first
        wanted["CMAKE_CXX_FLAGS:STRING"] = "--coverage -DBRENVIK_COVERAGE"
        linker = wanted.get("CMAKE_EXE_LINKER_FLAGS:STRING", "")
        wanted["CMAKE_EXE_LINKER_FLAGS:STRING"] = (linker + " --coverage").strip()
        if shutil.which("ccache"):
            wanted["CMAKE_CXX_COMPILER_LAUNCHER:STRING"] = "ccache"
    cache = build / "CMakeCache.txt"
    cached = cache.read_text().splitlines() if cache.exists() else []
    values = {line.split(":")[0]: line.split("=", 1)[1] for line in cached if ":" in line and "=" in line}
    if all(values.get(k.split(":")[0]) == v for k, v in wanted.items()):
        return
    cmd = ["cmake", "-S", str(repo), "-B", str(build), "-G", "Ninja"]
    cmd += [f"-D{k.split(':')[0]}={v}" for k, v in wanted.items()]
    rc, out, _ = run(cmd)
    if rc != 0:
        sys.exit(f"configure failed:\n{out}")


def build_ok(build, jobs):
    return run(["cmake", "--build", str(build), "-j", str(jobs)])[0] == 0


def discover_tests(build):
    """{test name: (executable, text of its command and environment)} for the non-fuzz tests."""
    out = run(["ctest", "--test-dir", str(build), "-LE", "fuzz", "--show-only=json-v1"])[1]
    tests = {}
    for t in json.loads(out)["tests"]:
        env = [p["value"] for p in t.get("properties", []) if p["name"] == "ENVIRONMENT"]
        tests[t["name"]] = (Path(t["command"][0]), json.dumps([t["command"], env]))
    return tests


def program_watchers(build, tests):
    """{program binary: tests that run it as a child process}. A test runs a program if the
    program's path is in its command, its environment or its executable (a compiled-in path), or
    one beside it in its folder."""
    contents = {name: exe.read_bytes() for name, (exe, _) in tests.items()}
    test_exes = {exe for exe, _ in tests.values()}
    programs = [p for p in build.rglob("*") if p.is_file() and "CMakeFiles" not in p.parts
                and p not in test_exes and os.access(p, os.X_OK) and p.open("rb").read(4) == b"\x7fELF"]
    # Whole paths only: build/shell/brenvik is also the start of build/shell/brenvik_shell_autogen.
    def runs(prog, name):
        return (re.search(re.escape(str(prog)) + r"(?![\w.+-])", tests[name][1])
                or str(prog).encode() + b"\0" in contents[name])
    watchers = {prog: {name for name in tests if runs(prog, name)} for prog in programs}
    # A program may start the programs beside it (brenvik-cli hands play and convert to
    # brenvik-cli-media in its folder, by a name the compiler need not keep as a string): the tests
    # that run one are taken to run them all.
    beside = {}
    for prog in programs:
        beside.setdefault(prog.parent, set()).update(watchers[prog])
    return {prog: beside[prog.parent] for prog in programs}


def mtimes(paths):
    return {p: p.stat().st_mtime_ns if p.exists() else 0 for p in paths}


def observing_tests(tests, watchers, before):
    """Tests that can see the mutant: their own executable was relinked, or they run a program
    that was. Anything not relinked holds none of the mutated code. (The same build also undid
    the previous mutant, so its tests run again too: more than needed, never fewer.)"""
    after = mtimes(before)
    changed = {p for p in before if after[p] != before[p]}
    names = {name for name, (exe, _) in tests.items() if exe in changed}
    for prog in changed & watchers.keys():
        names |= watchers[prog]
    return names


def run_tests(build, names, durations, timeout, user=None):
    """Runs the tests quickest first, stopping at the first failure; returns the failing test's
    name or "". One ctest call per test, so --timeout holds even for tests whose own TIMEOUT
    property is longer (ctest lets the property win over its --timeout)."""
    if user:
        user.fresh_folders()
    for name in sorted(names, key=lambda n: (durations.get(n, 0), n)):
        start = time.monotonic()
        rc, _, timed_out = run(["ctest", "--test-dir", str(build), "-LE", "fuzz", "--stop-on-failure",
                                "--timeout", str(timeout), "-R", f"^{re.escape(name)}$"], timeout + 30, user)
        durations.setdefault(name, time.monotonic() - start)
        if rc != 0 or timed_out:
            return name + (" (timeout)" if timed_out else "")
    return ""


# ---------------------------------------------------------------- which tests run which lines

def coverage_map(args, tests):
    """{file: {line: [tests that ran it]}} over the lines gcov knows as code, from a build made
    with --coverage in which every test ran alone. Kept in that build tree under the commit and
    the uncommitted changes (to tests too: they change what runs), so a rerun reuses it."""
    build = args.coverage_dir
    diff = run(["git", "-C", str(args.repo), "diff", "HEAD"])[1]
    key = {"head": run(["git", "-C", str(args.repo), "rev-parse", "HEAD"])[1].strip(),
           "diff": hashlib.sha1(diff.encode("utf-8", "surrogateescape")).hexdigest(), "tests": sorted(tests)}
    saved = build / "coverage-map.json"
    if saved.exists():
        data = json.loads(saved.read_text())
        if data["key"] == key:
            return data
    started = time.monotonic()
    configure(args.repo, build, coverage=True)
    if not build_ok(build, args.jobs):
        sys.exit("the coverage build does not build")
    user = TestUser.for_build(args.repo, build, args.test_user) if args.user else None
    if user:  # each object's counts (.gcda) are written beside it by the programs the tests run
        for folder in build.rglob("CMakeFiles/*.dir"):
            run(["chown", "-R", f"{user.uid}:{user.gid}", str(folder)])
    product = set(product_files(args.repo))
    for gcda in build.rglob("*.gcda"):
        gcda.unlink()
    lines = {}  # first every line compiled as code, run by none
    for file, line, _ in gcov_counts(build, build.rglob("*.gcno"), args.repo, product):
        lines.setdefault(file, {}).setdefault(str(line), [])
    unsure = []
    for name in sorted(tests):
        for gcda in build.rglob("*.gcda"):
            gcda.unlink()
        if run_tests(build, [name], {}, args.timeout, user):
            unsure.append(name)  # a killed program writes no counts: such a test runs for every mutant
        for file, line, count in gcov_counts(build, build.rglob("*.gcda"), args.repo, product):
            ran = lines.setdefault(file, {}).setdefault(str(line), [])
            if count and name not in ran:
                ran.append(name)
    if user:  # its folders served this map alone
        shutil.rmtree(user.root, ignore_errors=True)
    data = {"key": key, "lines": lines, "unsure": unsure}
    saved.write_text(json.dumps(data) + "\n")
    print(f"coverage map: {len(tests)} tests over {sum(map(len, lines.values()))} lines of code in "
          f"{time.monotonic() - started:.0f} s" + (f"; failing there, so always run: {unsure}" if unsure else ""),
          flush=True)
    return data


def gcov_counts(build, files, repo, product):
    """(product file, line, count) for every line gcov reports in these .gcno or .gcda files;
    a .gcno without its .gcda reports each line of code with count 0. A header's inline code
    comes with every object that uses it."""
    files = sorted(str(f) for f in files)
    decoder = json.JSONDecoder()
    for at in range(0, len(files), 100):
        out = subprocess.run(["gcov", "--json-format", "--stdout", *files[at:at + 100]], cwd=build,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, errors="replace").stdout
        pos = 0
        while (pos := out.find("{", pos)) >= 0:  # one JSON document per object
            report, pos = decoder.raw_decode(out, pos)
            for f in report["files"]:
                path = Path(report["current_working_directory"], f["file"]).resolve()
                name = path.relative_to(repo).as_posix() if path.is_relative_to(repo) else ""
                if name in product:
                    for entry in f["lines"]:
                        yield name, entry["line_number"], entry["count"]


def covering_tests(coverage, m, text):
    """The tests that ran any line the mutant touches, plus those whose counts are unsure; None
    when gcov knows none of those lines as code (a declaration, a constant folded while
    compiling, a template never instantiated): then no count says who could see the mutant."""
    lines = coverage["lines"].get(m.file, {})
    first = text.count("\n", 0, min(e[0] for e in m.edits)) + 1
    last = text.count("\n", 0, max(e[1] for e in m.edits)) + 1
    known = [lines[str(n)] for n in range(first, last + 1) if str(n) in lines]
    if not known:
        return None
    return {name for ran in known for name in ran} | set(coverage["unsure"])


# ---------------------------------------------------------------- the unprivileged test user

TEST_USER = "brenvik-mutation"


class TestUser:
    """The user the tests run as when the script runs as root: it reads the build tree and the
    sources, and writes only its own folders below /tmp (HOME, TMPDIR, the XDG
    folders), the tests' data folder and ctest's log folder."""

    def __init__(self, repo, build, entry):
        self.name, self.uid, self.gid = entry.pw_name, entry.pw_uid, entry.pw_gid
        self.repo, self.build = repo, build
        # Short, as /tmp is: the Card window's widths follow its card's path, and a deep temporary
        # folder makes the window tests see other widths than the test command does. Named after
        # the build tree too, so two runs (or a run and its coverage build) never share folders.
        tag = hashlib.sha1(str(build).encode()).hexdigest()[:8]
        self.root = Path("/tmp") / f"{entry.pw_name}-{tag}"
        self.home, self.tmp, self.runtime = self.root / "home", self.root / "tmp", self.root / "runtime"

    @classmethod
    def for_build(cls, repo, build, name):
        try:
            entry = pwd.getpwnam(name)
        except KeyError:
            rc, out, _ = run(["useradd", "--system", "--user-group", "--no-create-home",
                              "--home-dir", "/nonexistent", "--shell", "/usr/sbin/nologin", name])
            if rc != 0:
                sys.exit(f"cannot create the test user {name}:\n{out}")
            entry = pwd.getpwnam(name)
        if entry.pw_uid == 0:
            sys.exit(f"the test user {name} is root; name an unprivileged one with --test-user")
        user = cls(repo, build, entry)
        user.open_build_tree()
        user.fresh_folders()
        user.check_confined()
        return user

    def popen_arguments(self):
        env = dict(os.environ, HOME=str(self.home), TMPDIR=str(self.tmp), USER=self.name, LOGNAME=self.name,
                   XDG_CONFIG_HOME=str(self.home / ".config"), XDG_CACHE_HOME=str(self.home / ".cache"),
                   XDG_RUNTIME_DIR=str(self.runtime))
        return {"user": self.uid, "group": self.gid, "extra_groups": [], "env": env, "cwd": str(self.tmp)}

    def open_build_tree(self):
        """Everything built readable (and programs runnable) by the user; what the tests and
        ctest write, the user's own."""
        run(["chmod", "-R", "a+rX", str(self.build)])
        for folder in (self.build / "Testing", self.build / "tests" / "data-home"):
            folder.mkdir(parents=True, exist_ok=True)
            run(["chown", "-R", f"{self.uid}:{self.gid}", str(folder)])

    def fresh_folders(self):
        """HOME, TMPDIR and the runtime folder made anew, so nothing a mutant left behind reaches
        the next one's tests."""
        shutil.rmtree(self.root, ignore_errors=True)
        self.root.mkdir(parents=True)
        for folder in (self.home, self.tmp, self.runtime):
            folder.mkdir(mode=0o700)
            os.chown(folder, self.uid, self.gid)

    def check_confined(self):
        """The user can read the sources and the build tree, and cannot write into / or root's
        home; otherwise running as it protects nothing."""
        probe = ("test -r \"$1\" && test -x \"$1\" && test -r \"$2/CTestTestfile.cmake\" "
                 "&& test ! -w / && test ! -w \"$3\"")
        root_home = pwd.getpwuid(0).pw_dir
        rc, out, _ = run(["sh", "-c", probe, "probe", str(self.repo),
                          str(self.build), root_home], user=self)
        if rc != 0:
            sys.exit(f"the test user {self.name} cannot read the sources and build tree, or can write into "
                     f"/ or {root_home}: make the sources readable for it (every folder above them "
                     f"searchable), or name another user with --test-user\n{out}")


# ---------------------------------------------------------------- one mutant

def try_mutant(repo, build, args, m, tests, watchers, durations, coverage=None):
    path = repo / m.file
    original = path.read_bytes()
    start = time.monotonic()
    # The build tree is not rebuilt after the file is restored: the next mutant's build
    # recompiles it anyway (its time stamp is new), and one build instead of two halves the links.
    try:
        text = original.decode("utf-8", "surrogateescape")
        path.write_bytes(apply_edits(text, m.edits).encode("utf-8", "surrogateescape"))
        before = mtimes({exe for exe, _ in tests.values()} | watchers.keys())
        built = build_ok(build, args.jobs)
        m.build_seconds = round(time.monotonic() - start, 1)
        if not built:
            m.outcome = "stillborn"
        else:
            names = observing_tests(tests, watchers, before)
            covering = covering_tests(coverage, m, text) if coverage else None
            # A test that ran the line has it in a relinked program, so the two sets meet; a line
            # no test ran leaves none, and the mutant survives on its build alone.
            m.selection = "all" if covering is None else "coverage"
            names = names if covering is None else names & covering
            m.tests_run = len(names)
            m.killed_by = run_tests(build, names, durations, args.timeout, args.user)
            m.outcome = "killed" if m.killed_by else "survived"
    finally:
        path.write_bytes(original)
    m.seconds = round(time.monotonic() - start, 1)


# ---------------------------------------------------------------- reporting

def summarise(mutants):
    """Counts and kill rates overall and per top-level folder: kill_rate is killed / (killed +
    survived) over every scored mutant, behaviour_rate the same with look mutants set apart."""
    def rate(killed, survived):
        return killed / (killed + survived) if killed + survived else None
    def counts(group):
        c = {k: sum(m.outcome == k for m in group) for k in ("killed", "survived", "stillborn", "equivalent")}
        look = [m for m in group if kind_of(m) == "look"]
        c["look_killed"] = sum(m.outcome == "killed" for m in look)
        c["look_survived"] = sum(m.outcome == "survived" for m in look)
        c["kill_rate"] = rate(c["killed"], c["survived"])
        c["behaviour_rate"] = rate(c["killed"] - c["look_killed"], c["survived"] - c["look_survived"])
        return c
    names = sorted({folder_of(m) for m in mutants})
    return counts(mutants), {n: counts([m for m in mutants if folder_of(m) == n]) for n in names}


def percent(r):
    return "   -" if r is None else f"{100 * r:5.1f}%"


def print_report(header, total, folders, mutants):
    for key, value in header.items():
        print(f"{key:>18}: {value}")
    print(f"\n{'folder':<18}{'killed':>7}{'survived':>9}{'stillborn':>10}{'equivalent':>11}"
          f"{'look k/s':>9}{'kill rate':>10}{'behaviour':>10}")
    for name, f in list(folders.items()) + [("ALL", total)]:
        look = f"{f['look_killed']}/{f['look_survived']}"
        print(f"{name:<18}{f['killed']:>7}{f['survived']:>9}{f['stillborn']:>10}{f['equivalent']:>11}"
              f"{look:>9}{percent(f['kill_rate']):>10}{percent(f['behaviour_rate']):>10}")
    print("\nkill rate: killed / (killed + survived); behaviour: the same without the look mutants")
    survivors = [m for m in mutants if m.outcome == "survived"]
    print(f"\nSurvivors ({len(survivors)}):")
    for m in survivors:
        look = "  look" if kind_of(m) == "look" else ""
        chosen_by = {"coverage": " that ran its lines", "all": " that could observe it"}.get(m.selection, "")
        print(f"  {m.file}:{m.line}  [{m.operator}]{look}  ({m.tests_run} tests{chosen_by})")
        print(f"      - {m.before}\n      + {m.after}")


def list_mutants(sites, chosen):
    per_op = Counter(m.operator for m in sites)
    print(f"{len(sites)} candidate sites: " + ", ".join(f"{k} {v}" for k, v in sorted(per_op.items())))
    for k, m in enumerate(chosen, 1):
        print(f"{k:3}. {m.file}:{m.line}:{m.col} [{m.operator}]\n       - {m.before}\n       + {m.after}")


# ---------------------------------------------------------------- main

def parse_args():
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("--repo", type=Path, default=Path(__file__).resolve().parent.parent)
    p.add_argument("--build-dir", type=Path, help="default: <repo>/build-mutation")
    p.add_argument("--operators", default=",".join(OPERATORS))
    p.add_argument("--count", type=int, default=80)
    p.add_argument("--seed", type=int, default=9)
    p.add_argument("--per-folder", type=int, metavar="N",
                   help="sample N sites in each folder instead of --count in all")
    p.add_argument("--folders", help="only these folders (card, card/ui), comma-separated")
    p.add_argument("--timeout", type=int, default=120, help="seconds per test")
    p.add_argument("--jobs", type=int, default=2, help="build jobs")
    p.add_argument("--report", type=Path, help="also write the report here as JSON")
    p.add_argument("--list", action="store_true", help="only print the sampled mutants")
    p.add_argument("--dirty-ok", action="store_true", help="run even with uncommitted product changes")
    p.add_argument("--skip-tests", metavar="REGEX",
                   help="leave out the tests whose names match (test_interruption takes minutes a mutant)")
    p.add_argument("--carry", type=Path, metavar="REPORT",
                   help="take the killed and stillborn mutants' outcomes from a saved report of the same "
                        "seed and run only the rest (for a rerun after tests were added, the product unchanged)")
    p.add_argument("--rescore", type=Path, metavar="REPORT", help="print a saved JSON report again")
    p.add_argument("--coverage-map", action=argparse.BooleanOptionalAction, default=True,
                   help="run for each mutant only the tests that ran its lines in a --coverage build "
                        "(made once per commit); lines gcov does not know as code still run every "
                        "observing test")
    p.add_argument("--coverage-dir", type=Path, help="the coverage build; default: <repo>/build-coverage")
    p.add_argument("--test-user", default=TEST_USER,
                   help=f"when started as root, the unprivileged user the tests run as (default {TEST_USER})")
    args = p.parse_args()
    args.repo = args.repo.resolve()
    args.build_dir = (args.build_dir or args.repo / "build-mutation").resolve()
    args.coverage_dir = (args.coverage_dir or args.repo / "build-coverage").resolve()
    args.operators = [o.strip() for o in args.operators.split(",") if o.strip()]
    unknown = set(args.operators) - set(OPERATORS)
    if unknown:
        p.error(f"unknown operators {sorted(unknown)}; choose from {', '.join(OPERATORS)}")
    return args


def refuse_if_dirty(repo):
    """A mutant is undone by writing back the bytes read; uncommitted work would muddle that."""
    changed = run(["git", "-C", str(repo), "diff", "HEAD", "--name-only"])[1].split()
    product = [n for n in changed if n.endswith((".cpp", ".h")) and not n.startswith(NON_PRODUCT)]
    if product:
        sys.exit("uncommitted changes in product files (use --dirty-ok to run anyway):\n  " + "\n  ".join(product))


def main():
    args = parse_args()
    started = time.monotonic()
    # A plain kill (SIGTERM) must also run the restoring finally blocks.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    if args.rescore:
        return rescore(args.rescore)
    folders = set(args.folders.split(",")) if args.folders else None
    sites, chosen = sample(args.repo, args.operators, args.count, args.seed, args.per_folder, folders)
    if args.list:
        return list_mutants(sites, chosen)
    if not args.dirty_ok:
        refuse_if_dirty(args.repo)
    if os.geteuid() == 0:
        os.umask(0o022)  # what each mutant's build writes stays readable for the test user
    configure(args.repo, args.build_dir)
    if not build_ok(args.build_dir, args.jobs):
        sys.exit("the unmutated tree does not build")
    tests = discover_tests(args.build_dir)
    if args.skip_tests:  # left out of every run, the baseline's too: the rate is then a lower bound
        tests = {n: t for n, t in tests.items() if not re.search(args.skip_tests, n)}
    durations = {}
    args.user = TestUser.for_build(args.repo, args.build_dir, args.test_user) if os.geteuid() == 0 else None
    if args.user:
        print(f"tests run as {args.user.name} (uid {args.user.uid})", flush=True)
    failing = run_tests(args.build_dir, tests.keys(), durations, args.timeout, args.user)
    if failing:
        sys.exit(f"the unmutated tree's tests are not green ({failing} fails); fix them first")
    coverage = coverage_map(args, tests) if args.coverage_map else None
    baseline = time.monotonic() - started
    watchers = program_watchers(args.build_dir, tests)
    print(f"baseline: {len(tests)} tests green in {sum(durations.values()):.0f} s; "
          f"{len(chosen)} of {len(sites)} sites sampled", flush=True)
    if folders and args.per_folder:  # the folders in the order named, so the first named are first done
        order = {f: k for k, f in enumerate(args.folders.split(","))}
        chosen.sort(key=lambda m: order.get(folder_of(m), len(order)))
    carried = carried_outcomes(args.carry) if args.carry else {}
    done = []
    for k, m in enumerate(chosen, 1):
        if kind_of(m) == "equivalent":
            m.outcome = "equivalent"
        elif key_of(m) in carried:
            m.outcome, m.killed_by = carried[key_of(m)]
            m.killed_by += " (carried)" if m.killed_by else ""
        else:
            try_mutant(args.repo, args.build_dir, args, m, tests, watchers, durations, coverage)
        tested = f"{m.tests_run:2} tests ({m.selection})" if m.selection else ""
        print(f"[{k}/{len(chosen)}] {m.outcome:<9} {m.seconds:6.1f}s (build {m.build_seconds:5.1f}s) {tested:<17} "
              f"{m.file}:{m.line} [{m.operator}]" + (f"  by {m.killed_by}" if m.killed_by else ""), flush=True)
        done.append(m)
        if args.report:  # after every mutant, so a run stopped early still leaves what it measured
            write_report(args, report_header(args, sites, done, started, baseline), done)
    if not build_ok(args.build_dir, args.jobs):  # leave the build tree as the source is again
        print("warning: the restored tree did not rebuild", file=sys.stderr)
    header = report_header(args, sites, chosen, started, baseline)
    print()
    print_report(header, *summarise(chosen), chosen)
    if args.report:
        write_report(args, header, chosen)


def key_of(m):
    return (m.file, m.line, m.col, m.operator, m.before, m.after)


def saved_mutants(data):
    """The mutants of a saved report's data, as the run left them."""
    return [Mutant(**{**m, "edits": tuple(map(tuple, m["edits"]))}) for m in data["mutants"]]


def carried_outcomes(path):
    """{mutant: (outcome, killed by)} for the mutants a saved report found killed or stillborn.
    Tests only added since that report kill them still; the survivors are run again."""
    return {key_of(m): (m.outcome, m.killed_by) for m in saved_mutants(json.loads(path.read_text()))
            if m.outcome in ("killed", "stillborn")}


def report_header(args, sites, mutants, started, baseline):
    elapsed = time.monotonic() - started
    return {"command": "python3 " + shlex.join(sys.argv), "repo": str(args.repo),
            "seed": args.seed, "operators": ",".join(args.operators),
            "tests per mutant": (f"those that ran its lines (coverage map in {args.coverage_dir})"
                                 if args.coverage_map else "every test that can observe it"),
            "mutants": f"{len(mutants)} of {len(sites)} candidate sites",
            "elapsed": f"{elapsed:.0f} s (baseline build and tests {baseline:.0f} s)",
            "per mutant": f"{(elapsed - baseline) / max(1, len(mutants)):.1f} s (build "
                          f"{sum(m.build_seconds for m in mutants) / max(1, len(mutants)):.1f} s of it)",
            "elapsed_seconds": round(elapsed, 1), "baseline_seconds": round(baseline, 1)}


def write_report(args, header, mutants):
    total, folders = summarise(mutants)
    data = dict(header, total=total, folders=folders, mutants=[asdict(m) for m in mutants],
                survivors=[asdict(m) for m in mutants if m.outcome == "survived"])
    args.report.write_text(json.dumps(data, indent=2) + "\n")


def rescore(path):
    """A saved report printed again under this script's kinds of mutant."""
    data = json.loads(path.read_text())
    mutants = saved_mutants(data)
    for m in mutants:
        if kind_of(m) == "equivalent":
            m.outcome = "equivalent"
    keys = ("command", "repo", "seed", "operators", "tests per mutant", "mutants", "elapsed", "per mutant")
    # A saved report's "mutants" is the list of mutants, not the header's count of them.
    header = {"rescored": str(path), **{k: data[k] for k in keys if k in data and not isinstance(data[k], list)}}
    print_report(header, *summarise(mutants), mutants)


if __name__ == "__main__":
    main()
