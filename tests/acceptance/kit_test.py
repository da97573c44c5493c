#!/usr/bin/env python3
"""The acceptance kit run as a person runs it: unpacked into a fresh Wine prefix
on a test display that CTest has started, and started there with
`cmd /c run-acceptance.cmd` in its folder. Its report must pass every test that
the display's own suite runs, more of them on several monitors, and the kit must
leave the display and the prefix as it found them.

    kit_test.py KIT DISPLAY [--switch-monitors]

KIT is the kit's archive, DISPLAY the name of a display of
cmake/PlovixDisplays.cmake; --switch-monitors is handed on to the kit. The
kit's report and pictures are kept in build/win64/acceptance/DISPLAY/.
"""
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ElementTree
import zipfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "installer"))
import installer_checks as checks  # noqa: E402

# A path with a blank, as a person's folders have.
FOLDER = "Plovix acceptance"


def suite_tests(display):
    """The tests of the display's own suite, as CTest lists them: "Suite.Name"."""
    listed = subprocess.run(["ctest", "--test-dir", checks.BUILD, "-N", "-L", f"^{display}$"],
                            capture_output=True, text=True, check=True).stdout
    return [name for name in re.findall(rf"Test +#\d+: {re.escape(display)}:(\S+)", listed)
            if "." in name]


def screen_state(x_display):
    """The X screen's size and each output's mode and place, as xrandr tells them."""
    said = subprocess.run(["xrandr", "--current", "-display", x_display],
                          capture_output=True, text=True).stdout
    return [line for line in said.split("\n") if line.startswith("Screen") or " connected" in line]


def files(drive):
    """Every file of the prefix's drive but those a program may leave in a
    temporary folder, and the kit's own folder."""
    return sorted(str(path.relative_to(drive)) for path in drive.rglob("*")
                  if path.is_file() and FOLDER not in path.parts
                  and "temp" not in (part.lower() for part in path.parts))


def kit_processes(prefix):
    """The processes of the prefix that run a program of the kit's folder."""
    found = []
    for process in Path("/proc").glob("[0-9]*"):
        try:
            text = (process / "cmdline").read_bytes().replace(b"\0", b" ").decode(errors="replace")
            environment = (process / "environ").read_bytes().split(b"\0")
        except OSError:
            continue
        if FOLDER in text and f"WINEPREFIX={prefix}".encode() in environment:
            found.append(text.strip())
    return found


def main():
    if len(sys.argv) < 3:
        checks.fail("usage: kit_test.py KIT DISPLAY [--switch-monitors]")
    kit, display, options = Path(sys.argv[1]), sys.argv[2], sys.argv[3:]
    checks.start(f"acceptance kit on {display}")
    checks.require("WINE", "SWITCHING", "INSTALLER_TEST")
    state = (checks.BUILD / "displays" / f"{display}.env").read_text(encoding="utf-8")
    x_display = re.search(r"^DISPLAY=(.*)$", state, re.MULTILINE).group(1)
    expected = suite_tests(display)
    if not expected:
        checks.fail(f"CTest lists no test of {display}'s suite")
    kept = checks.BUILD / "acceptance" / display
    shutil.rmtree(kept, ignore_errors=True)
    kept.mkdir(parents=True)

    with checks.FreshWindows(f"acceptance-{display}", x_display) as fresh:
        wine, _ = fresh.start("win64")
        drive = wine.prefix / "drive_c"
        desktop_key = r"HKCU\Control Panel\Desktop"
        before = (screen_state(x_display), wine.key_state(desktop_key), files(drive))
        folder = drive / FOLDER
        with zipfile.ZipFile(kit) as archive:
            archive.extractall(folder)

        checks.begin("the kit runs as a person starts it")
        with open(kept / "run.log", "wb") as log:
            try:
                code = subprocess.run([wine.loader, "cmd", "/c", "run-acceptance.cmd", *options],
                                      cwd=folder, env=wine.environment, stdin=subprocess.DEVNULL,
                                      stdout=log, stderr=subprocess.STDOUT,
                                      timeout=checks.timeouts()["ACCEPTANCE"]).returncode
            except subprocess.TimeoutExpired:
                code = 124
        checks.check("its exit code (its output: run.log)", 0, checks.shell_code(code))
        for name in ("acceptance-report.xml", "acceptance-report.html", "acceptance-pictures"):
            source = folder / name
            if source.is_dir():
                shutil.copytree(source, kept / name)
            elif source.exists():
                shutil.copy(source, kept / name)
        report = kept / "acceptance-report.xml"
        if not report.exists():
            checks.fail(f"the kit wrote no report; what it printed is in {kept / 'run.log'}")
        cases = {}
        for case in ElementTree.parse(report).getroot().iter("testcase"):
            outcome = ("failed" if case.find("failure") is not None else
                       "skipped: " + case.find("skipped").get("message", "")
                       if case.find("skipped") is not None else "passed")
            cases[f"{case.get('classname')}.{case.get('name')}"] = outcome

        checks.begin("its report passes the suite's tests")
        for test in expected:
            outcome = cases.get(f"x64.{test}", "(not in the report)")
            # Skipped alone where Wine lacks what the test needs, as in the suite.
            if outcome.startswith("skipped: wine-"):
                outcome = "passed"
            checks.check(test, "passed", outcome)
        failed = sorted(name for name, outcome in cases.items() if outcome == "failed")
        checks.check("the tests that failed", [], failed)
        passed = sum(outcome == "passed" for outcome in cases.values())
        # Several monitors let more kinds of test run than the display's own.
        if "--switch-monitors" in options:
            checks.check("more tests passed than the suite runs", True, passed > len(expected))

        checks.begin("the display and the prefix as the kit found them")
        checks.check("the screen", before[0], screen_state(x_display))
        checks.check("the screen saver settings", before[1], wine.key_state(desktop_key))
        checks.check("the prefix's files", before[2], files(drive))
        checks.check("the kit's programs still running", [], kit_processes(wine.prefix))
    checks.finish()


if __name__ == "__main__":
    main()
