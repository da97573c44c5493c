#!/usr/bin/python3
# The forge workflow's test. A fault in .github/workflows/ shows only on the
# forge, after a push: yamllint reads every workflow first, with the rules of
# .yamllint and warnings failing too, then the checks below read what the jobs
# rely on: the build job makes the packages on a Debian release the commands
# know and hands on the acceptance kit by the name packaging gives it; the
# acceptance job runs the kit on each Windows release, and keeps each runner's
# report and pictures, a failed run's too. The last line is "N passed, N failed".
# /usr/bin/python3, as Debian's python3-yaml serves it only.
import fnmatch
import re
import shutil
import subprocess
import sys
from pathlib import Path, PurePosixPath

try:
    import yaml
except ImportError as error:
    sys.exit(f"==> workflow: no module {error.name}: it needs Debian's python3-yaml, which "
             "./scripts/test.sh installs")
# Its cache would land in the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent / "installer"))
from installer_checks import PACKAGES, ROOT, begin, check, fail, finish, start

WORKFLOWS = ROOT / ".github/workflows"
WORKFLOW = WORKFLOWS / "windows.yml"
# Windows Server releases, as GitHub names its runners: a misspelt one waits
# for a runner that never comes.
WINDOWS = ["windows-2022", "windows-2025"]
# What run-acceptance.cmd writes beside itself, in sorted order.
REPORT = ["acceptance-pictures", "acceptance-report.html", "acceptance-report.xml"]


def steps_using(job, action):
    return [step for step in job.get("steps", []) if step.get("uses", "").startswith(action + "@")]


def debian_releases():
    """environment.sh's releases, as their version numbers ("12")."""
    script = 'source "$1" && printf "%s\\n" "${PLOVIX_DEBIAN_RELEASES[@]#*:}"'
    return subprocess.run(["bash", "-c", script, "releases", ROOT / "scripts/lib/environment.sh"],
                          check=True, text=True, stdout=subprocess.PIPE).stdout.split()


def kit_name():
    """The acceptance kit's file as packaging names it, from the project's name and version."""
    text = (ROOT / "CMakeLists.txt").read_text(encoding="utf-8")
    name, version = re.search(r"^project\((\w+) VERSION ([\w.]+)", text, re.MULTILINE).groups()
    return f"{PACKAGES.relative_to(ROOT)}/{name}-{version}-acceptance.zip"


start("workflow")
if not shutil.which("yamllint"):
    fail("no yamllint: it needs Debian's yamllint, which ./scripts/test.sh installs")

begin("yamllint --strict reads every workflow with .yamllint's rules")
lint = subprocess.run(["yamllint", "--strict", "-f", "parsable", "-c", ROOT / ".yamllint",
                       WORKFLOWS], text=True, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
check("what yamllint finds", "", lint.stdout.strip())
try:
    workflow = yaml.safe_load(WORKFLOW.read_text(encoding="utf-8")) or {}
except (OSError, yaml.YAMLError) as error:
    check(f"{WORKFLOW.name} read", "read", str(error))
    finish()
jobs = workflow.get("jobs", {})

begin("it runs on main, on pull requests and by hand, reading the sources only")
# YAML 1.1 reads the key "on" as true.
triggers = workflow.get("on", workflow.get(True)) or {}
check("triggers", ["pull_request", "push", "workflow_dispatch"], sorted(triggers))
check("pushes run it on", ["main"], (triggers.get("push") or {}).get("branches"))
check("permissions", {"contents": "read"}, workflow.get("permissions"))
check("jobs without a time limit", [], [name for name, job in jobs.items()
                                        if not job.get("timeout-minutes")])

begin("the build job makes the packages and hands on the acceptance kit")
build = jobs.get("build", {})
container = build.get("container")
image = str(container.get("image") if isinstance(container, dict) else container)
check("the container's Debian release is one the commands know", True,
      image.removeprefix("debian:") in debian_releases())
check("runs ./scripts/package.sh", True,
      any("./scripts/package.sh" in step.get("run", "") for step in build.get("steps", [])))
kit = [step.get("with", {}) for step in steps_using(build, "actions/upload-artifact")]
check("uploads the kit, by the name packaging gives it", [True],
      [fnmatch.fnmatchcase(kit_name(), upload.get("path", "")) for upload in kit])
check("a missing kit fails the job", ["error"], [upload.get("if-no-files-found") for upload in kit])

begin("the acceptance job runs the kit on each Windows release and keeps every report")
acceptance = jobs.get("acceptance", {})
strategy = acceptance.get("strategy", {})
check("needs", "build", acceptance.get("needs"))
check("the releases", WINDOWS, strategy.get("matrix", {}).get("os"))
check("runs on each", "${{ matrix.os }}", acceptance.get("runs-on"))
check("one release's failure leaves the other's run", False, strategy.get("fail-fast"))
check("downloads the kit the build job uploads", [upload.get("name") for upload in kit],
      [step.get("with", {}).get("name")
       for step in steps_using(acceptance, "actions/download-artifact")])
kit_runs = [step.get("working-directory", ".") for step in acceptance.get("steps", [])
            if "cmd /c run-acceptance.cmd" in step.get("run", "")]
check("runs run-acceptance.cmd once", 1, len(kit_runs))
reports = steps_using(acceptance, "actions/upload-artifact")
check("uploads the report, also after a failure", ["always()"],
      [step.get("if") for step in reports])
check("each runner's report under a name of its own", [True],
      ["${{ matrix.os }}" in step.get("with", {}).get("name", "") for step in reports])
# A path that misses them only warns, and the report is lost without a failure.
check("the report, its page and its pictures, from beside the kit",
      [[str(PurePosixPath(folder, name)) for name in REPORT] for folder in kit_runs[:1]],
      [sorted(str(PurePosixPath(path)) for path in step.get("with", {}).get("path", "").split())
       for step in reports])
finish()
