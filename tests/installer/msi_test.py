#!/usr/bin/python3
# The Windows Installer packages' test. Checks the packages made by
# ./scripts/package.sh against the rules of Windows Installer's validation
# (ICE) that their tables could break, then installs them as an administrator
# would, with msiexec /qn, in a fresh Wine prefix of a 64-bit Windows and of a
# 32-bit one, in a private virtual display, and checks what the administrator
# would find: the archive's saver of the package's architecture in the system
# folder Windows gives it and nowhere else, the uninstall entry under the
# product code with its icon, the user's saver settings untouched, an upgrade
# in place from an older version made here from the same template, an older
# package refused where a newer version is, the x86 package refused on 64-bit
# Windows, changing nothing, where the x64 product or an older x86 one is,
# which the x64 package then replaces, and an uninstall that leaves nothing;
# with PLOVIX_TEST_SIGNER, both packages' signatures. Each failure says what
# was expected and found; the last line is "N passed, N failed", and the exit
# code is not 0 when a check failed. Where 32-bit programs cannot run, the
# 32-bit Windows is skipped, said in one line. What Wine cannot show is in the
# README's known limits; Group Policy, Intune and Configuration Manager are
# not tested here.

import os
import re
import subprocess
import sys
import tempfile
from pathlib import Path

# Its cache would land in the source tree.
sys.dont_write_bytecode = True
from installer_checks import (BUILD, PACKAGES, ROOT, FreshWindows, archive_savers, begin,
                              check, cmake_values, cpack_values, exit_code, fail, file_state,
                              finish, log, msiinfo, signature, start, table)

# What every package shares, written by the build for ReleaseMsi.cmake.
SETTINGS = BUILD / "release-msi/settings.cmake"
DESKTOP_KEY = r"HKCU\Control Panel\Desktop"
UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
UNINSTALL_32_ON_64 = r"HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall"
SAVER_STATE = {"x64": "the 64-bit saver", "x86": "the 32-bit saver"}
# Older than any release.
OLDER = "0.0.1"
REFUSED = exit_code(1603)


class Release:
    """What the packages were made with, the packages, and the files the test
    tells apart; it stops the test where the packages were not made."""

    def __init__(self):
        self.settings, cpack = cmake_values(SETTINGS), cpack_values()
        if not self.settings or not cpack:
            fail(f"no packages in {BUILD}: make them with ./scripts/package.sh")
        self.version, self.product = self.settings["RELEASE_VERSION"], self.settings["PRODUCT"]
        self.saver = self.settings["SAVER_FILE"]
        self.packages = {arch: Path(self.settings[f"PACKAGE_{arch}"]) for arch in SAVER_STATE}
        archive = PACKAGES / f"Plovix-{self.version}.zip"
        for package in (archive, *self.packages.values()):
            if not package.is_file():
                fail(f"no {package}: make the packages with ./scripts/package.sh")
        self.codes = {arch: dict(row[:2] for row in table(package, "Property")).get("ProductCode")
                      for arch, package in self.packages.items()}
        self.icon = Path(self.settings["ICON"]).read_bytes()
        self.known = archive_savers(archive, cpack)
        self.older = {}

    def make_older(self, work):
        """An older version of the product, with a file of its own in place of the
        saver, from the same template; its x86 package without the launch
        condition, as a release from before it was."""
        saver = work / "older.scr"
        saver.write_text(f"the saver of version {OLDER}\n")
        self.known[saver.read_bytes()] = "the older version's file"
        template = Path(self.settings["TEMPLATE"]).read_text(encoding="utf-8")
        (work / "unconditioned.wxs").write_text(re.sub(r"(?m)^.*<Condition .*\n", "", template))
        # The later TEMPLATE is the one that counts.
        (work / "unconditioned.cmake").write_text(
            SETTINGS.read_text(encoding="utf-8") + f'set(TEMPLATE "{work}/unconditioned.wxs")\n')
        for arch, settings in (("x64", SETTINGS), ("x86", work / "unconditioned.cmake")):
            self.older[arch] = work / f"Plovix-{OLDER}-{arch}.msi"
            values = dict(SETTINGS=settings, ARCH=arch, VERSION=OLDER, SAVER=saver,
                          STAGE=work / arch, MSI=self.older[arch])
            if subprocess.run(["cmake", *(f"-D{name}={value}" for name, value in values.items()),
                               "-P", ROOT / "cmake/packaging/ReleaseMsi.cmake"],
                              stdout=subprocess.DEVNULL).returncode:
                fail(f"could not make the older {arch} package")


def check_tables(release, arch):
    """The package's tables by the rules of Windows Installer's validation that a
    careless edit of the template or the build could break."""
    package = release.packages[arch]
    begin(f"{package.name}: tables by Windows Installer's rules")
    files = table(package, "File")
    hashed = {row[0] for row in table(package, "MsiFileHash")}
    # ICE60: a versioned file has a language and no hash. The saver's are its
    # version resource's.
    check("each versioned file: version, language, hash (ICE60)",
          f"Saver {release.version}.0, language 1033, no hash",
          " ".join(f"{row[0]} {row[4]}, language {row[5] or 'none'}, "
                   f"{'hashed' if row[0] in hashed else 'no hash'}" for row in files if row[4]))
    # ICE80: a 64-bit package's components are 64-bit and in 64-bit folders, a
    # 32-bit package's neither; and a component's key path is its own file.
    template = re.search(r"^Template: ([^;\n]*);", msiinfo("suminfo", package), re.MULTILINE)
    owner = {row[0]: row[1] for row in files}
    components = [f"{row[0]} {64 if int(row[3] or 0) & 256 else 32}-bit in {row[2]}, key path "
                  + (f"its file {row[5]}" if owner.get(row[5]) == row[0] else
                     "not a file of its own") for row in table(package, "Component")]
    check("platform; each component's bits, folder and key path",
          "x64: Saver 64-bit in System64Folder, key path its file Saver" if arch == "x64"
          else "Intel: Saver 32-bit in SystemFolder, key path its file Saver",
          " ".join([f"{template[1]}:" if template else "(no template)"] + components))
    if arch == "x86":
        x64_package = release.packages["x64"].name
        check(f"a launch condition's message names {x64_package}", 1,
              sum(x64_package in row[1] for row in table(package, "LaunchCondition")))


class Windows:
    """A fresh Windows, its kind's Wine and the release to install in it."""

    def __init__(self, wine, bits, release):
        self.wine, self.bits, self.release = wine, bits, release
        self.desktop = wine.key_state(DESKTOP_KEY)

    def msiexec(self, action, package, expected=0, about=""):
        about += " (1603)" if expected == REFUSED else ""
        check(f"exit code of msiexec {action}{about}", expected,
              self.wine.run("msiexec", action, package, "/qn", output=False)[0])

    def check_saver(self, folder, expected):
        path = self.wine.prefix / "drive_c/windows" / folder / self.release.saver
        check(f"{folder}\\{self.release.saver}", expected, file_state(path, self.release.known))

    def uninstall_folder(self, arch):
        """The uninstall entries of the architecture's registry view."""
        return UNINSTALL_32_ON_64 if self.bits == 64 and arch == "x86" else UNINSTALL

    def entries(self, arch):
        """How many uninstall entries of the architecture name the product."""
        listing = self.wine.reg_query(self.uninstall_folder(arch), "/s")
        product = re.escape(self.release.product)
        return listing if listing.startswith("(reg failed") else len(
            re.findall(rf"^ *DisplayName {{2,}}REG_SZ {{2,}}{product}$", listing, re.MULTILINE))

    def check_entries(self, expected):
        check("uninstall entries", expected, ", ".join(f"{self.entries(arch)} {arch}"
                                                       for arch in SAVER_STATE))

    def product_icon(self, code):
        """The icon Apps & features shows for a product code: the product's
        registered icon, as a file of the prefix."""
        listing = self.wine.reg_query(r"HKLM\Software\Classes\Installer\Products", "/s")
        paths = re.findall(rf"^ *ProductIcon {{2,}}REG_SZ {{2,}}(.*{re.escape(code)}.*)$",
                           listing, re.MULTILINE)
        if not paths:
            return listing if listing.startswith("(reg failed") else "(none registered)"
        icon = self.wine.prefix / "drive_c" / re.sub(r"^.:\\", "", paths[0]).replace("\\", "/")
        if icon.is_file() and icon.read_bytes() == self.release.icon:
            return "the project's icon"
        return f"{paths[0]}, not the project's icon"

    def check_installed(self, arch):
        """The package's saver in the system folder, its uninstall entry and icon,
        and the user's settings as they were."""
        code = self.release.codes[arch]
        key = f"{self.uninstall_folder(arch)}\\{code}"
        self.check_saver("system32", SAVER_STATE[arch])
        for value, expected in (("DisplayName", self.release.product),
                                ("DisplayVersion", self.release.version),
                                ("Publisher", self.release.settings["PUBLISHER"])):
            check(f"{value} under {key}", expected, self.wine.reg_value(key, value))
        check(f"icon of {code}", "the project's icon", self.product_icon(code))
        check(DESKTOP_KEY, "unchanged", self.wine.key_change(DESKTOP_KEY, self.desktop))

    def check_removed(self, arch):
        """Nothing of the package left."""
        code = self.release.codes[arch]
        self.check_saver("system32", "(absent)")
        check("uninstall entries", 0, self.entries(arch))
        cached = self.wine.prefix / "drive_c/windows/Installer" / code
        check(f"cached icon folder Installer\\{code}", "(absent)",
              "present" if cached.exists() else "(absent)")
        check(DESKTOP_KEY, "unchanged", self.wine.key_change(DESKTOP_KEY, self.desktop))


def test_64_bit_windows(windows, release):
    version, (x64, x86), older = release.version, release.packages.values(), release.older

    begin("64-bit Windows, x64 package")
    windows.msiexec("/i", x64)
    windows.check_installed("x64")
    windows.check_saver("syswow64", "(absent)")

    begin("64-bit Windows, x64 package removed")
    windows.msiexec("/x", x64)
    windows.check_removed("x64")

    begin(f"64-bit Windows, upgrade from {OLDER} to {version}")
    windows.msiexec("/i", older["x64"], about=f", {OLDER}")
    windows.check_saver("system32", "the older version's file")
    windows.msiexec("/i", x64, about=f", {version}")
    check("uninstall entries", 1, windows.entries("x64"))
    windows.check_installed("x64")

    begin(f"64-bit Windows, {OLDER} where {version} is installed")
    windows.msiexec("/i", older["x64"], REFUSED)
    check("uninstall entries", 1, windows.entries("x64"))
    windows.check_installed("x64")

    # Sharing the upgrade code, the x86 package would replace the x64 product
    # and put the saver where the 64-bit Screen Saver Settings never look.
    begin("64-bit Windows, x86 package where the x64 product is")
    windows.msiexec("/i", x86, REFUSED)
    windows.check_entries("1 x64, 0 x86")
    windows.check_installed("x64")
    windows.check_saver("syswow64", "(absent)")
    windows.msiexec("/x", x64)
    windows.check_removed("x64")

    # Installed by a release from before the x86 package refused 64-bit Windows.
    begin("64-bit Windows, x86 package where an older x86 product is")
    windows.msiexec("/i", older["x86"], about=f", x86 {OLDER}")
    windows.msiexec("/i", x86, REFUSED, f", x86 {version}")
    windows.check_entries("0 x64, 1 x86")
    windows.check_saver("syswow64", "the older version's file")

    begin("64-bit Windows, the x64 package in place of an older x86 product")
    windows.msiexec("/i", x64)
    windows.check_entries("1 x64, 0 x86")
    windows.check_saver("syswow64", "(absent)")
    windows.check_installed("x64")
    windows.msiexec("/x", x64)
    windows.check_removed("x64")


def test_32_bit_windows(windows, release):
    begin("32-bit Windows, x86 package")
    windows.msiexec("/i", release.packages["x86"])
    windows.check_installed("x86")
    windows.msiexec("/x", release.packages["x86"])
    windows.check_removed("x86")


def main():
    start("msi")
    # The display first: it stops the test where a package it needs is missing.
    with FreshWindows("msi") as fresh, tempfile.TemporaryDirectory() as work:
        release = Release()
        if os.environ.get("PLOVIX_TEST_SIGNER"):
            begin("signatures of the packages")
            for package in release.packages.values():
                check(package.name, "signed", signature(package))
        for arch in SAVER_STATE:
            check_tables(release, arch)
        release.make_older(Path(work))
        for bits, scenario in ((64, test_64_bit_windows), (32, test_32_bit_windows)):
            wine, cause = fresh.start(f"win{bits}")
            if wine:
                scenario(Windows(wine, bits, release), release)
            else:
                log(f"{bits}-bit Windows skipped: {cause}")
    finish()


if __name__ == "__main__":
    main()
