#!/usr/bin/python3
# The winget manifests' test. Writes the manifests of the packages that
# ./scripts/package.sh made (the winget-manifests target) for a test address and
# checks them as winget's validation and a download would: each against its
# published 1.12.0 schema (winget-schemas/) and with no field the schema does not
# know, which it would let through; identifier, version, locale, publisher and
# name are the release's; the installers are the setup for each architecture and
# scope and each MSI there is, each at its address with the packaged file's
# SHA-256 and the fields of its kind. Also: a URL without its trailing slash
# gives the same manifests, a missing installer fails the step, and without a URL
# none are written and none are left. The last line is "N passed, N failed".
# /usr/bin/python3, as Debian's python3-yaml and python3-jsonschema serve it only.
import hashlib
import json
import os
import re
import subprocess
import sys
import tempfile
from pathlib import Path

try:
    import jsonschema
    import yaml
except ImportError as error:
    sys.exit(f"==> winget: no module {error.name}: it needs Debian's python3-yaml and "
             "python3-jsonschema, which ./scripts/test.sh installs")
# Its cache would land in the source tree.
sys.dont_write_bytecode = True
from installer_checks import (BUILD, PACKAGES, ROOT, begin, check, cpack_values, finish,
                              start, table)

MANIFESTS = PACKAGES / "winget"
SCHEMA = "1.12.0"
# Pinned here: users and the community repository know the package by this
# name from release to release, and its texts are in this language.
IDENTIFIER = "Plovix.PlovixScreensaver"
LOCALE = "en-US"
FILE_NAMES = {"version": f"{IDENTIFIER}.yaml", "installer": f"{IDENTIFIER}.installer.yaml",
              "defaultLocale": f"{IDENTIFIER}.locale.{LOCALE}.yaml"}
# What tells an installer from the others; InstallerType could stand at the
# top for all of them, but these manifests give each its own.
ROW = ("Architecture", "InstallerType", "Scope", "InstallerUrl", "InstallerSha256")


def write_manifests(url=None):
    """Runs the step with URL as PLOVIX_RELEASE_URL, or none: its exit code and output."""
    env = {name: value for name, value in os.environ.items() if name != "PLOVIX_RELEASE_URL"}
    env.update({"PLOVIX_RELEASE_URL": url} if url else {})
    run = subprocess.run(["cmake", "--build", "--preset", "win64", "--target", "winget-manifests"],
                         cwd=ROOT, env=env, text=True,
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    return run.returncode, run.stdout


def written():
    return {path.name: path.read_bytes() for path in sorted(MANIFESTS.glob("*"))}


def present():
    return " ".join(written()) if MANIFESTS.exists() else "(none)"


def read_manifests():
    """Each manifest's file, first line and fields, by the type it says it is."""
    manifests = {}
    for path in sorted(MANIFESTS.glob("*")):
        try:
            text = path.read_text(encoding="utf-8")
            fields = yaml.safe_load(text)
        except (OSError, UnicodeError, yaml.YAMLError) as error:
            check(path.name, "YAML", str(error))
            continue
        if isinstance(fields, dict):
            manifests[str(fields.get("ManifestType"))] = (path.name, text.split("\n")[0], fields)
    return manifests


def resolve(root, schema):
    while "$ref" in schema:  # These schemas refer only into their own definitions.
        schema = root["definitions"][schema["$ref"].rsplit("/", 1)[-1]]
    return schema


# The schemas let fields they do not name through, where winget's own
# validation refuses them: a misspelt field would be lost unnoticed.
def unknown_fields(root, schema, node, path=()):
    schema = resolve(root, schema)
    if isinstance(node, list) and isinstance(schema.get("items"), dict):
        for index, item in enumerate(node):
            yield from unknown_fields(root, schema["items"], item, path + (index,))
    if isinstance(node, dict):
        known = dict(schema.get("properties", {}))
        for branch in schema.get("oneOf", []) + schema.get("anyOf", []) + schema.get("allOf", []):
            known.update(resolve(root, branch).get("properties", {}))
        for key, value in node.items():
            if key in known:
                yield from unknown_fields(root, known[key], value, path + (key,))
            else:
                yield path + (key,)


def check_schema(kind, first_line, fields):
    begin(f"{kind} manifest: the {SCHEMA} schema")
    address = f"https://aka.ms/winget-manifest.{kind}.{SCHEMA}.schema.json"
    check("first line", f"# yaml-language-server: $schema={address}", first_line)
    # The schema takes any version of three numbers; these manifests are of this one.
    check("ManifestVersion", SCHEMA, fields.get("ManifestVersion", "(absent)"))
    schema = ROOT / f"tests/installer/winget-schemas/manifest.{kind}.{SCHEMA}.json"
    root = json.loads(schema.read_text(encoding="utf-8"))
    problems = [(list(error.absolute_path), error.message)
                for error in jsonschema.Draft7Validator(root).iter_errors(fields)]
    problems += [(list(path), f"a field the {kind} manifest does not have")
                 for path in unknown_fields(root, root, fields)]
    # A failed check for each problem, or one passed check for none.
    for path, problem in sorted(problems, key=str) or [(["every field"], "allowed")]:
        check(".".join(map(str, path)) or "the manifest", "allowed", problem)


def check_release(cpack, manifests):
    begin("the release in the manifests")
    check("file names", " ".join(sorted(FILE_NAMES.values())), present())
    for kind, (name, _, fields) in sorted(manifests.items()):
        check(f"file of the {kind} manifest", FILE_NAMES[kind], name)
        check(f"PackageIdentifier of the {kind} manifest", IDENTIFIER,
              fields.get("PackageIdentifier", "(absent)"))
        check(f"PackageVersion of the {kind} manifest", cpack.get("CPACK_PACKAGE_VERSION"),
              fields.get("PackageVersion", "(absent)"))
    check("DefaultLocale", LOCALE, manifests["version"][2].get("DefaultLocale", "(absent)"))
    locale = manifests["defaultLocale"][2]
    check("PackageLocale", LOCALE, locale.get("PackageLocale", "(absent)"))
    for field, setting in (("Publisher", "CPACK_PACKAGE_VENDOR"),
                           ("PackageName", "CPACK_NSIS_DISPLAY_NAME")):
        check(f"{field}, as in the uninstall entry", cpack.get(setting),
              locale.get(field, "(absent)"))


def expected_fields(cpack, kind, scope, file):
    """An installer's fields beyond its ROW."""
    def returned(setting, response):
        code = cpack.get(setting, "(absent)")
        return {"InstallerReturnCode": int(code) if re.fullmatch(r"-?[0-9]+", code) else code,
                "ReturnResponse": response}
    if kind == "nullsoft":
        user = scope == "user"
        return {"InstallerSwitches": {"Silent": "/S", "SilentWithProgress": "/S",
                                      "Custom": "/CurrentUser" if user else "/AllUsers"},
                "ProductCode": cpack.get("CPACK_PACKAGE_INSTALL_REGISTRY_KEY"),
                "ElevationRequirement": "elevatesSelf" if user else "elevationRequired",
                "ExpectedReturnCodes": [returned("CPACK_PLOVIX_EXIT_IN_USE", "packageInUse"),
                                        returned("CPACK_PLOVIX_EXIT_OTHER_MODE",
                                                 "alreadyInstalled")]}
    if kind != "msi":
        return {}
    properties = dict(row[:2] for row in table(PACKAGES / file, "Property"))
    fields = {"ProductCode": properties.get("ProductCode"),
              "AppsAndFeaturesEntries": [{"UpgradeCode": properties.get("UpgradeCode")}]}
    return fields | ({"UnsupportedOSArchitectures": ["x64", "arm64"]}
                     if file.endswith("-x86.msi") else {})


def check_installers(cpack, url, setup, installers):
    begin("the release's installers")
    expected = [f"{architecture} nullsoft {scope} {setup}"
                for architecture in ("x64", "x86") for scope in ("machine", "user")]
    expected += [f"{msi.stem.rsplit('-', 1)[-1]} msi machine {msi.name}"
                 for msi in PACKAGES.glob("*.msi")]
    installers = [item for item in installers or [] if isinstance(item, dict)]
    files = [str(item.get("InstallerUrl")).rsplit("/", 1)[-1] for item in installers]
    found = [" ".join(str(item.get(field, "(absent)")) for field in ROW[:3]) + f" {file}"
             for item, file in zip(installers, files)]
    check("architecture, type, scope and file of each", "; ".join(sorted(expected)),
          "; ".join(sorted(found)))
    for index, (item, file) in enumerate(zip(installers, files)):
        check(f"installer {index}: address", url + file, item.get("InstallerUrl"))
        hashed = PACKAGES / file
        check(f"installer {index}: SHA-256 of {file}",
              hashlib.sha256(hashed.read_bytes()).hexdigest().upper() if hashed.is_file()
              else "(no such file)", str(item.get("InstallerSha256", "(absent)")).upper())
        kind, scope = item.get("InstallerType"), item.get("Scope")
        check(f"installer {index}: the fields of {kind} for scope {scope}",
              json.dumps(expected_fields(cpack, kind, scope, file), sort_keys=True),
              json.dumps({key: value for key, value in item.items() if key not in ROW},
                         sort_keys=True, default=str))


def cmake_error(output):
    """The step's own error, its lines that CMake wrapped joined: Ninja's echo
    of the command names the installer too."""
    lines, inside = [], False
    for line in output.splitlines():
        inside = line.startswith("CMake Error") or (inside and line != "")
        lines += [line[2:]] if inside and line.startswith("  ") else []
    return " ".join(lines)


def check_missing_setup(url, setup):
    begin("an installer of the release missing")
    with tempfile.TemporaryDirectory(dir=BUILD, prefix="winget-test.") as hold:
        Path(PACKAGES, setup).rename(Path(hold, setup))
        try:
            code, output = write_manifests(url)
        finally:
            Path(hold, setup).rename(Path(PACKAGES, setup))
    check("exit code", "failed", "failed" if code else code)
    check(f"the error names {setup}",
          f"No winget manifests: {PACKAGES} lacks the release's {setup}", cmake_error(output))
    check("manifests", "(none)", present())


def check_no_url(manifests):
    begin("no release address")
    MANIFESTS.mkdir(exist_ok=True)
    for name, content in manifests.items():
        Path(MANIFESTS, name).write_bytes(content)
    code, output = write_manifests()
    check("exit code", 0, code)
    check("says so, naming PLOVIX_RELEASE_URL", "yes",
          "yes" if re.search("No winget manifests: .*PLOVIX_RELEASE_URL", output) else
          f"no: {output}")
    check("manifests", "(none)", present())


def main():
    cpack = cpack_values()
    setup = f"{cpack.get('CPACK_PACKAGE_FILE_NAME')}.exe"
    url = f"https://example.invalid/plovix/{cpack.get('CPACK_PACKAGE_VERSION')}/"
    if not Path(PACKAGES, setup).is_file():
        sys.exit(f"==> winget: no installer in {PACKAGES}: make the packages with "
                 "./scripts/package.sh")
    begin(f"manifests for {url}")
    code, output = write_manifests(url)
    check("exit code", 0, code)
    if code:
        print(output)
        finish()
    manifests = read_manifests()
    for kind in FILE_NAMES:
        check(f"a manifest of type {kind}", "yes", "yes" if kind in manifests else "no")
    if any(kind not in manifests for kind in FILE_NAMES):
        finish()
    first = written()
    for kind in FILE_NAMES:
        check_schema(kind, *manifests[kind][1:])
    check_release(cpack, {kind: manifests[kind] for kind in FILE_NAMES})
    check_installers(cpack, url, setup, manifests["installer"][2].get("Installers"))
    begin("the address without its trailing slash")
    code, _ = write_manifests(url.removesuffix("/"))
    check("exit code", 0, code)
    check("manifests alike", "same", "same" if written() == first else "different")
    check_missing_setup(url, setup)
    check_no_url(first)
    finish()


if __name__ == "__main__":
    # Ended from outside, it still puts a hidden setup back, as on Ctrl-C.
    start("winget")
    main()
