# Shared by the installer tests: the checks they count and print, what they
# read of the win64 build, and what they read of a Wine prefix and of the
# packages.
import difflib
import os
import re
import signal
import subprocess
import sys
import zipfile
from functools import cache
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
BUILD = ROOT / "build/win64"
PACKAGES = BUILD / "packages"
_state = {"test": "", "group": "", "passed": 0, "failed": 0}


def start(test):
    """Names the test in its log lines. A SIGTERM, as from CTest, then ends it
    as an exit does, so that what it started is ended and what it hid put back."""
    _state["test"] = test
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))


def log(text):
    print(f"==> {_state['test']}: {text}", file=sys.stderr, flush=True)


def fail(text):
    log(text)
    sys.exit(1)


def begin(group):
    _state["group"] = group
    log(group)


def check(what, expected, found):
    _state["passed" if expected == found else "failed"] += 1
    if expected != found:
        print(f"FAILED {_state['group']}: {what}\n    expected: {expected}\n    found:    {found}",
              flush=True)


def finish():
    """The last line, and an exit code that is not 0 when a check failed."""
    print(f"{_state['passed']} passed, {_state['failed']} failed", flush=True)
    sys.exit(1 if _state["failed"] else 0)


def require(*lists):
    """Stops the test, naming them, where packages of environment.sh's lists
    (PACKAGING, PICTURE...) are missing; tests install nothing, ./scripts/test.sh
    does. The lists are read there rather than copied here."""
    script = ('source "$1" && shift && packages=() && for list; do'
              ' name="PLOVIX_${list}_PACKAGES[@]" && packages+=("${!name}"); done'
              ' && plovix_require_packages "${packages[@]}"')
    if subprocess.run(["bash", "-c", script, "require", ROOT / "scripts/lib/environment.sh",
                       *lists]).returncode:
        sys.exit(1)


def cmake_values(path):
    """The values a CMake file of the build sets as set(NAME "VALUE"), one a line."""
    text = path.read_text(encoding="utf-8") if path.is_file() else ""
    return dict(re.findall(r'^set\((\w+) "(.*)"\)$', text, re.MULTILINE))


def cpack_values():
    """The settings the packages were made with."""
    return cmake_values(BUILD / "CPackConfig.cmake")


def timeouts():
    """The waits of cmake/PlovixTimeouts.cmake in seconds, by name (TEST, SETUP...)."""
    text = (BUILD / "timeouts.sh").read_text(encoding="utf-8")
    return {name: int(value) for name, value in re.findall(r"^PLOVIX_TIMEOUT_(\w+)=(\d+)$", text,
                                                            re.MULTILINE)}


def exit_code(windows_code):
    """A Windows program's exit code as Linux sees it, the low byte (1603 is 67)."""
    return windows_code % 256


def shell_code(returncode):
    """A process's exit code as a shell tells it: 128 and the signal for one a signal ended."""
    return returncode if returncode >= 0 else 128 - returncode


def signature(path):
    """Whether a file carries a signature made with PLOVIX_TEST_SIGNER."""
    run = subprocess.run(["osslsigncode", "verify", "-CAfile", os.environ["PLOVIX_TEST_SIGNER"],
                          "-in", path], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return "not signed by the test signer" if run.returncode else "signed"


def msiinfo(*arguments):
    run = subprocess.run(["msiinfo", *map(str, arguments)], capture_output=True, text=True)
    if run.returncode:
        fail(f"msiinfo {' '.join(map(str, arguments))} failed: {run.stderr.strip()}")
    return run.stdout.replace("\r", "")


@cache
def table(package, name):
    """A table's rows, each a list of its fields; none where the package has no such table."""
    if name not in msiinfo("tables", package).split("\n"):
        return []
    # Below the columns' names and types and the table's name.
    return [line.split("\t") for line in msiinfo("export", package, name).split("\n")[3:] if line]


def archive_savers(archive, cpack):
    """The release archive's savers, by their bytes, for file_state."""
    names = {bits: cpack.get(f"CPACK_PLOVIX_SAVER_{bits}", "") for bits in (32, 64)}
    with zipfile.ZipFile(archive) as release:
        if not set(names.values()) <= set(release.namelist()):
            fail(f"{archive} lacks a saver of {' and '.join(names.values())}")
        return {release.read(name): f"the {bits}-bit saver" for bits, name in names.items()}


def file_state(path, known):
    """What a path holds: a file of KNOWN (bytes to name), another file, or nothing."""
    if not path.exists():
        return "(absent)"
    return known.get(path.read_bytes(), "another file") if path.is_file() else "another file"


class Wine:
    """Programs run in one Wine prefix, as FreshWindows gives it."""

    def __init__(self, loader, environment):
        self.loader = loader
        self.environment = os.environ | environment
        self.prefix = Path(environment["WINEPREFIX"])
        self.timeout = timeouts()["TEST"]

    def _run(self, arguments, stdout, stderr):
        try:
            return subprocess.run([self.loader, *map(str, arguments)], env=self.environment,
                                  stdin=subprocess.DEVNULL, stdout=stdout, stderr=stderr,
                                  timeout=self.timeout)
        except subprocess.TimeoutExpired:
            return None

    def run(self, *arguments, output=True):
        """The program's exit code as Linux sees it, with what it printed (without
        carriage returns) when asked; one still running after a test's timeout
        counts as hanging, 124, as timeout(1) says it."""
        pipe = subprocess.PIPE if output else subprocess.DEVNULL
        run = self._run(arguments, pipe, pipe)
        if run is None:
            return 124, ""
        said = (run.stdout or b"") + (run.stderr or b"")
        return shell_code(run.returncode), said.decode("utf-8", "replace").replace("\r", "")

    def output(self, *arguments):
        """What the program printed on its standard output, without carriage returns
        and the last line break; None where it failed or hung."""
        run = self._run(arguments, subprocess.PIPE, subprocess.DEVNULL)
        if run is None or run.returncode:
            return None
        return run.stdout.decode("utf-8", "replace").replace("\r", "").rstrip("\n")

    def spawn(self, *arguments, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, debug=None):
        """The program started, not waited for; with DEBUG as its WINEDEBUG."""
        environment = self.environment | ({"WINEDEBUG": debug} if debug else {})
        return subprocess.Popen([self.loader, *map(str, arguments)], env=environment,
                                stdin=subprocess.DEVNULL, stdout=stdout, stderr=stderr)

    def reg_query(self, key, *switches):
        """What reg prints, or "(absent)" where reg says the key or value does not
        exist; where reg itself fails, its failure, which no expected value matches."""
        code, said = self.run("reg", "query", key, *switches)
        if code and "nable to find the specified registry" in said:
            return "(absent)"
        if code:
            return f"(reg failed, exit code {code}: {said[:160].replace(chr(10), ' ')})"
        return said.rstrip("\n")

    def reg_value(self, key, name):
        """The value's data, "(absent)" or reg's failure."""
        said = self.reg_query(key, "/v", name)
        if said.startswith("("):
            return said
        pattern = rf"^ *{re.escape(name)} {{2,}}REG_[A-Z_]* {{2,}}(.*)$"
        return "\n".join(re.findall(pattern, said, re.MULTILINE))

    def key_state(self, key):
        """The key with its subkeys, for key_change."""
        return self.reg_query(key, "/s")

    def key_change(self, key, before):
        """"unchanged" where the key reads as key_state read it BEFORE; else the lines
        that differ, or reg's failure."""
        now = self.key_state(key)
        if now.startswith("(reg failed"):
            return now
        if now == before:
            return "unchanged"
        lines = difflib.ndiff(before.split("\n"), now.split("\n"))
        return " ".join(("<" if line[0] == "-" else ">") + line[1:] for line in lines
                        if line.startswith(("- ", "+ ")))


class FreshWindows:
    """A private virtual display and fresh Wine prefixes, from fresh-windows.sh.
    It runs for as long as this holds its input open, and when that ends, however
    this test ends, it ends all it started."""

    def __init__(self, name, display=None):
        """On a display of its own, or on the X display DISPLAY (":N") given."""
        # Forked off the test's process tree, all of which CTest's timeout kills
        # outright, so that it outlives the test to end what it started.
        self.helper = subprocess.Popen(
            ["setsid", "--fork", ROOT / "tests/installer/fresh-windows.sh", name,
             *([display] if display else [])],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        # Its first line tells the display started; without it, it said why it could not.
        try:
            started = self.helper.stdout.readline()
        except BaseException:
            self.close()
            raise
        if not started:
            self.close()
            sys.exit(1)
        self.group = int(started.split()[-1])

    def __enter__(self):
        return self

    def __exit__(self, error, *_):
        # Ended early, the test has it stop a prefix it is still making, at once.
        if error:
            try:
                os.killpg(self.group, signal.SIGTERM)
            except ProcessLookupError:
                pass
        self.close()

    def close(self):
        try:
            self.helper.stdin.close()
        except BrokenPipeError:  # It ended already, having said why.
            pass
        # Its answers end once it has ended all it started.
        self.helper.stdout.read()
        self.helper.wait()

    def start(self, architecture):
        """A Wine of a fresh prefix of the architecture (win64 or win32), or None
        and why it cannot run here."""
        try:
            self.helper.stdin.write(f"{architecture}\n")
            self.helper.stdin.flush()
        except BrokenPipeError:
            pass
        answer = self.helper.stdout.readline().rstrip("\n").split("\t")
        if answer[0] == "skipped":
            return None, answer[1]
        if answer[0] != "ready":
            fail(f"no fresh {architecture} prefix: fresh-windows.sh ended")
        environment = dict(item.split("=", 1) for item in answer[1:])
        return Wine(environment.pop("loader"), environment), None
