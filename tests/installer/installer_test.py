#!/usr/bin/python3
# The installer test. Clicks through the installer made by ./scripts/package.sh
# and its uninstaller as a person does, for all users and just for the user,
# then runs them silently both ways, in a fresh Wine prefix of a 64-bit Windows
# and one of a 32-bit Windows, in a private virtual display, and checks what a
# user would find: each page of the wizard and what its finish page offers, the
# right saver in the right folder and nowhere else, the user's saver settings
# (which an install for all users leaves alone), the uninstall entry, the
# installed saver started from a setting as Windows starts it, an installer or
# uninstaller that meets the saver running, a read-only saver, an install in
# the other mode, an uninstaller outside its install, and an uninstall that
# takes away what it put there and leaves what it found. With
# PLOVIX_TEST_SIGNER, the certificate the packages were signed with, it also
# checks the signatures of the installer, of both savers in the archive and of
# what the installer puts on the disk. Each failure prints what was expected
# and what was found; the last line is "N passed, N failed", and the exit code
# is not 0 when a check failed. Where 32-bit programs cannot run, the 32-bit
# Windows is skipped, said in one line.

import hashlib
import os
import re
import stat
import subprocess
import sys
import tempfile
import time
import zipfile
from pathlib import Path

# Its cache would land in the source tree.
sys.dont_write_bytecode = True
from installer_checks import (PACKAGES, ROOT, FreshWindows, Wine, archive_savers, begin, check,
                              cpack_values, exit_code, fail, file_state, finish, log, require,
                              shell_code, signature, start, timeouts)

DESKTOP_KEY = r"HKCU\Control Panel\Desktop"
UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
# A setting of the user's that neither install nor uninstall may touch.
TIMEOUT_SECONDS = "600"
OTHER_SAVER = r"C:\windows\system32\other.scr"
# An account whose name holds a blank, as many do: the saver's path just for me
# then holds two, in the account's folder and the install folder.
ACCOUNT = "Plovix Tester"
# The exit codes of the installer and its uninstaller besides 0, pinned here,
# as deployments and the winget manifests know them: Windows' error codes for
# a file in use, another version installed and an unknown product.
EXIT_IN_USE = exit_code(32)
EXIT_OTHER_MODE = exit_code(1638)
EXIT_NOT_INSTALLED_HERE = exit_code(1605)
# What a person sees of the wizard, pinned here: the texts this test waits for
# and presses.
ALL_USERS_CHOICE = "Install for anyone using this computer"
OPEN_SETTINGS = "Open the Screen Saver Settings"
SETTINGS_COMMAND = r'control.exe\" desk.cpl,,@screensaver'
# What the user sees of the installed saver, pinned here: its window's title,
# its notice's caption and text (line breaks as "\n"), its picture's colours at
# the border and in the text area.
SAVER_TITLE = "Plovixscreen Screensaver"
NOTICE_CAPTION = "Plovix Screensaver Information"
NOTICE = r"Sablewick Screensaver by Brannix.\nThis screen saver has no options that you can set."
PICTURE_COLOURS = "srgb(156,156,255) srgb(57,57,222)"
WAITS = timeouts()


def poll(seconds, condition):
    """Whether CONDITION() came true, asked about every 0.1 s for about SECONDS."""
    until = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > until:
            return False
        time.sleep(0.1)
    return True


def changed(path):
    """A file's time, attributes and contents on one line: NSIS gives a file it
    writes the time it was packed with, and checks whether a saver can be written
    by setting its attributes, as they were when it cannot."""
    if not path.exists():
        return "(absent)"
    status = path.stat()
    return (f"{status.st_mtime_ns} {stat.filemode(status.st_mode)} "
            f"{hashlib.sha256(path.read_bytes()).hexdigest()[:16]}")


def kib(path):
    return -(-path.stat().st_size // 1024)


def yes(condition):
    return "yes" if condition else "no"


class Release:
    """What the installer was made with, from the packages' own settings, and the
    installer that runs here; it stops the test where the packages were not made."""

    def __init__(self, work):
        self.cpack = cpack_values()
        self.version = self.cpack.get("CPACK_PACKAGE_VERSION")
        self.setup = PACKAGES / f"{self.cpack.get('CPACK_PACKAGE_FILE_NAME')}.exe"
        archive = PACKAGES / f"Plovix-{self.version}.zip"
        if not self.setup.is_file() or not archive.is_file():
            fail(f"no installer and archive in {PACKAGES}: make them with ./scripts/package.sh")
        # The savers as the release carries them, signed or not: the archive's.
        self.known = archive_savers(archive, self.cpack)
        self.released = work / "released"
        with zipfile.ZipFile(archive) as release:
            release.extractall(self.released)
        self.product = self.cpack["CPACK_NSIS_PACKAGE_NAME"]
        self.saver = self.cpack["CPACK_PLOVIX_SAVER_FILE"]
        self.saver_path = rf"C:\windows\system32\{self.saver}"
        self.folder = self.cpack["CPACK_PACKAGE_INSTALL_DIRECTORY"]
        self.key = rf"{UNINSTALL}\{self.cpack['CPACK_PACKAGE_INSTALL_REGISTRY_KEY']}"
        self.user_key = "HKCU" + self.key.removeprefix("HKLM")
        self.setup_title = f"{self.product} Setup"
        self.uninstall_title = f"{self.product} Uninstall"
        self.branding = f"{self.product} {self.version}"
        self.installer = self.setup


class Windows:
    """A fresh Windows of the given kind (32 or 64 bits) with its kind's Wine, the
    release to install in it and the Wine that runs the installer."""

    def __init__(self, wine, bits, release, installer_loader, work):
        self.wine, self.bits, self.release, self.work = wine, bits, release, work
        self.installer = Wine(installer_loader, wine.environment)
        self.system = wine.prefix / "drive_c/windows/system32"
        self.probe = ROOT / f"build/win{bits}/desktopprobe.exe"
        self.host = ROOT / f"build/win{bits}/previewhost.exe"
        self.features = wine.output(self.probe, "wine")
        if self.features is None:
            fail(f"{self.probe} wine failed")
        self.started = []
        self.page = []
        self.group = ""

    def begin(self, what):
        self.group = f"{self.bits}-bit Windows, {what}"
        begin(self.group)

    def end(self):
        """Ends the programs started here that outlived their checks."""
        for process in self.started:
            if process.poll() is None:
                process.kill()
                process.wait()

    def reg(self, *arguments):
        self.wine.run("reg", *arguments, output=False)

    def install(self, *switches, installer=None):
        return self.installer.run(installer or self.release.installer, *switches, output=False)[0]

    def uninstall(self, folder, *switches):
        return self.installer.run(rf"{folder}\Uninstall.exe", "/S", *switches, output=False)[0]

    def unix_path(self, path):
        """The Unix path of a path of the prefix."""
        said = self.wine.output("winepath.exe", "-u", path)
        if not said:
            fail(f"winepath.exe -u {path} failed")
        return Path(said)

    def short_path(self, path):
        return self.wine.output("winepath.exe", "-s", path) or ""

    def user_programs(self):
        """The user's own programs folder."""
        return (self.wine.output("cmd", "/c", "echo", "%LOCALAPPDATA%") or "") + r"\Programs"

    def check_saver(self, what, path, expected):
        check(what, expected, file_state(path, self.release.known))

    def window_shown(self, title):
        return poll(WAITS["WINDOW"], lambda: subprocess.run(
            ["xdotool", "search", "--name", f"^{title}$"], env=self.wine.environment,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0)

    def ended(self, process):
        """The exit code of a started program, ended first if it outlived the wait
        for a window."""
        try:
            process.wait(WAITS["WINDOW"])
        except subprocess.TimeoutExpired:
            process.terminate()
            process.wait()
        return shell_code(process.returncode)

    def keys_until_ended(self, saver):
        """Presses a key every half second until the saver has ended, as long as a
        window is waited for: a key pressed just as its window appears may reach
        the window before."""
        def key_ended():
            if subprocess.run(["xdotool", "key", "space"], env=self.wine.environment,
                              stderr=subprocess.DEVNULL).returncode:
                return False
            time.sleep(0.4)
            return saver.poll() is not None
        poll(WAITS["WINDOW"], key_ended)

    def start_saver(self, path, *flags):
        """A saver started as Windows starts one from the user's setting, as written
        (previewhost --setting); what the preview host prints goes to `started`."""
        with open(self.work / "started", "wb") as said:
            saver = self.wine.spawn(self.host, "--setting", path, *flags, stdout=said)
        self.started.append(saver)
        return saver

    def preview_colours(self):
        """The screen's colours at the border and the middle of the preview area
        that the preview host printed."""
        area = re.search(r"^preview area: (\d+) (\d+) (\d+) (\d+)",
                         (self.work / "started").read_text(errors="replace"), re.MULTILINE)
        if not area:
            return "(no preview area)"
        x, y, width, height = map(int, area.groups())
        screen = subprocess.run(["xwd", "-root", "-silent"], env=self.wine.environment,
                                capture_output=True).stdout
        spots = f"%[pixel:p{{{x + 2},{y + 2}}}] %[pixel:p{{{x + width // 2},{y + height // 2}}}]"
        return subprocess.run(["convert", "xwd:-", "-format", spots, "info:"], input=screen,
                              capture_output=True).stdout.decode(errors="replace").rstrip("\n")

    def check_saver_runs(self, path):
        """Every way Windows starts the saver of the user's setting works: /c shows
        the notice, /p shows the picture in a preview (where the Wine in use shows
        one process's painting in another's window) that ends with its window, /s
        covers the screen until a key."""
        saver, text = self.start_saver(path, "/c"), ""
        if self.window_shown(NOTICE_CAPTION):
            text = self.wine.output(self.probe, "answer", NOTICE_CAPTION)
        text = "(unreadable)" if text is None else text.replace("\n", r"\n")
        check(f'{path} /c: text of the box "{NOTICE_CAPTION}"', NOTICE, text)
        check(f"{path} /c: exit code after OK", 0, self.ended(saver))

        # Long enough for its pixels to be read where they can be.
        if "shows other processes' children: yes" in self.features.split("\n"):
            saver = self.start_saver(path, "/p", 5)
            until = time.monotonic() + WAITS["SHORT_WAIT"]
            while ((colours := self.preview_colours()) != PICTURE_COLOURS
                   and time.monotonic() < until):
                time.sleep(0.1)
            check(f"{path} /p: border and text area of the preview", PICTURE_COLOURS, colours)
        else:
            saver = self.start_saver(path, "/p", 3)
            version = re.findall(r"^version: (.*)$", self.features, re.MULTILINE)
            log(f"{self.group}: {path} /p: its picture skipped: {' '.join(version)} does not "
                "show what one process paints into another's window")
        check(f"{path} /p: exit code once the preview window is gone", 0, self.ended(saver))

        saver = self.start_saver(path, "/s")
        if self.window_shown(SAVER_TITLE):
            self.keys_until_ended(saver)
        else:
            check(f'{path} /s: saver window "{SAVER_TITLE}"', "shown",
                  f"not shown within {WAITS['WINDOW']} s")
        check(f"{path} /s: exit code after a key", 0, self.ended(saver))

    def check_in_use(self, path, mode, folder, key):
        """A silent install in MODE, and a silent uninstall of the install in FOLDER,
        while the installed saver runs, end with the "in use" exit code and change
        nothing."""
        before = changed(self.unix_path(path))
        saver = self.start_saver(path, "/s")
        if self.window_shown(SAVER_TITLE):
            check("exit code of the install", EXIT_IN_USE, self.install("/S", mode))
            # Run in place (_?=, which takes no quotes), the uninstaller's exit
            # code is its own.
            check("exit code of the uninstall", EXIT_IN_USE,
                  self.uninstall(folder, f"_?={self.short_path(folder)}"))
            check(f"{path} untouched", before, changed(self.unix_path(path)))
            check("uninstaller kept", "yes",
                  yes(self.unix_path(rf"{folder}\Uninstall.exe").is_file()))
            check("uninstall entry kept", self.release.product,
                  self.wine.reg_value(key, "DisplayName"))
            check("saver still running", "yes", yes(saver.poll() is None))
            self.keys_until_ended(saver)
        else:
            check(f'saver window "{SAVER_TITLE}"', "shown", f"not shown within {WAITS['WINDOW']} s")
        check("saver's exit code after a key", 0, self.ended(saver))

    def check_other_mode_refused(self, mode, folder):
        """Installing in MODE over the install in FOLDER in the other mode is refused
        with its exit code: one install, one uninstall entry."""
        key, other = self.release.user_key, self.release.key
        if mode == "/AllUsers":
            key, other = other, key
        check("exit code", EXIT_OTHER_MODE, self.install("/S", mode))
        check("no entry of the refused mode", "(absent)", self.wine.reg_value(key, "DisplayName"))
        check("the install there was", folder, self.wine.reg_value(other, "InstallLocation"))

    def check_entry(self, key, saver, folder):
        """The uninstall entry of an install."""
        cpack, uninstaller = self.release.cpack, rf"{folder}\Uninstall.exe"
        saver_file, uninstaller_file = self.unix_path(saver), self.unix_path(uninstaller)
        for name, expected in (("DisplayName", cpack.get("CPACK_NSIS_DISPLAY_NAME")),
                               ("DisplayVersion", self.release.version),
                               ("Publisher", cpack.get("CPACK_PACKAGE_VENDOR")),
                               ("DisplayIcon", f"{saver},0"), ("InstallLocation", folder),
                               ("UninstallString", f'"{uninstaller}"'),
                               ("QuietUninstallString", f'"{uninstaller}" /S')):
            check(name, expected, self.wine.reg_value(key, name))
        size = "unknown"
        if saver_file.is_file() and uninstaller_file.is_file():
            size = hex(kib(saver_file) + kib(uninstaller_file))
        check("EstimatedSize (KiB of saver and uninstaller)", size,
              self.wine.reg_value(key, "EstimatedSize"))
        if os.environ.get("PLOVIX_TEST_SIGNER"):
            check(f"signature of {saver}", "signed", signature(saver_file))
            check("signature of the uninstaller", "signed", signature(uninstaller_file))

    def check_uninstall(self, key, folder, saver, user_saver, active):
        """A silent uninstall, with USER_SAVER as the user's saver, takes away what
        the install put there and resets the user's saver only while it is this
        one, in the long or the short form of its path, and only just for me: for
        all users the running account need not be the user at the desk, so no
        user's setting changes."""
        expected_saver = user_saver
        if key == self.release.user_key and user_saver in (saver, self.short_path(saver)):
            expected_saver = "(absent)"
        # Anywhere else, as when an administrator runs another user's
        # uninstaller, it removes nothing.
        check("exit code outside its install", EXIT_NOT_INSTALLED_HERE,
              self.uninstall(folder, r"_?=C:\users"))
        check("entry kept outside its install", self.release.product,
              self.wine.reg_value(key, "DisplayName"))
        self.reg("add", DESKTOP_KEY, "/v", "SCRNSAVE.EXE", "/d", user_saver, "/f")
        # The uninstaller hands its work to a copy of itself and returns at once;
        # its last step removes the install folder.
        check("exit code", 0, self.uninstall(folder))
        self.check_removed(key, folder, saver)
        for name, expected in (("SCRNSAVE.EXE", expected_saver), ("ScreenSaveActive", active),
                               ("ScreenSaveTimeOut", TIMEOUT_SECONDS)):
            check(name, expected, self.wine.reg_value(DESKTOP_KEY, name))

    def check_removed(self, key, folder, saver):
        """Nothing left of the install."""
        place = self.unix_path(folder)
        gone = poll(WAITS["WINDOW"], lambda: not place.exists())
        check("install folder", "removed",
              "removed" if gone else f"still there after {WAITS['WINDOW']} s")
        self.check_saver(saver, self.unix_path(saver), "(absent)")
        check("uninstall entry", "(absent)", self.wine.reg_value(key, "DisplayName"))

    def show_page(self, title, text):
        """The wizard's controls once it shows a control with the text TEXT, as
        desktopprobe prints them, into `page`; none when it did not in time."""
        said = self.wine.output(self.probe, "wizard", title, text)
        self.page = [line.split("\t") for line in (said or "").split("\n")]

    def control(self, text=None, kind=None):
        """"visible checked", "hidden unchecked", "visible items=2"... of the control
        on `page` with that text, or of that class, or "(none)"."""
        return next((f"{row[2]} {row[4]}" for row in self.page if len(row) > 4 and
                     (row[0] == kind if kind else len(row) > 5 and row[5] == text)), "(none)")

    def press(self, title, text):
        if self.wine.run(self.probe, "press", title, text, output=False)[0]:
            check(f'button "{text}"', "pressed", f"not there within {WAITS['WINDOW']} s")

    def wizard_install(self, choice):
        """Clicks through the installer as a person does, choosing CHOICE on the mode
        page, and checks each page on the way. On the finish page it ticks the offer
        to open the Screen Saver Settings, hidden or not, and finishes: the settings
        open just for me only."""
        all_users, title = choice == ALL_USERS_CHOICE, self.release.setup_title
        said = self.work / "wizard.log"
        # Wine's process channel logs each program the installer starts.
        with open(said, "wb") as wizard_log:
            installer = self.installer.spawn(self.release.installer, stderr=wizard_log,
                                             debug="+process")
        self.started.append(installer)
        self.show_page(title, "I Agree")
        check("licence page: the branding line", "visible -", self.control(self.release.branding))
        self.press(title, "I Agree")
        self.show_page(title, self.just_for_me)
        check("mode page: all users, chosen for an administrator", "visible checked",
              self.control(ALL_USERS_CHOICE))
        check("mode page: just for me, naming the account", "visible unchecked",
              self.control(self.just_for_me))
        self.press(title, choice)

        def chosen():
            self.show_page(title, choice)
            return self.control(choice) == "visible checked"
        poll(WAITS["WAIT"], chosen)
        check(f"mode page: {choice}", "visible checked", self.control(choice))
        self.press(title, "Next >")
        self.show_page(title, "Choose Components")
        check('components page: the saver, and "Make it my screen saver" just for me',
              f"visible items={1 if all_users else 2}", self.control(kind="SysTreeView32"))
        self.press(title, "Install")
        self.show_page(title, "Finish")
        if all_users:
            check(f'finish page: "{OPEN_SETTINGS}"', "hidden unchecked",
                  self.control(OPEN_SETTINGS))
            self.press(title, OPEN_SETTINGS)
            self.show_page(title, "Finish")
            check(f'finish page: "{OPEN_SETTINGS}" ticked anyway', "hidden checked",
                  self.control(OPEN_SETTINGS))
        else:
            check(f'finish page: "{OPEN_SETTINGS}"', "visible checked", self.control(OPEN_SETTINGS))
        self.press(title, "Finish")
        check("exit code", 0, self.ended(installer))
        check("the Screen Saver Settings opened", yes(not all_users),
              yes(SETTINGS_COMMAND in said.read_text(errors="replace")))

    def wizard_uninstall(self, folder):
        """Clicks through the uninstaller of the install in FOLDER as a person does."""
        title = self.release.uninstall_title
        self.started.append(self.installer.spawn(rf"{folder}\Uninstall.exe"))
        self.show_page(title, "Uninstall")
        check("confirmation page: the folder", "visible -", self.control(folder + "\\"))
        check("confirmation page: the branding line", "visible -",
              self.control(self.release.branding))
        self.press(title, "Uninstall")
        self.show_page(title, "Close")
        check("last page", "visible -", self.control("Completed"))
        self.press(title, "Close")

    def test(self, all_users_switches, keep_user_saver):
        """Installs, uses and removes the saver for all users and just for the user,
        silently and through the wizards, with the given switches for all users (the
        default of an administrator's silent run is all users). With
        KEEP_USER_SAVER the user has picked another saver before the silent
        uninstalls, which must keep that choice; otherwise the user's saver is the
        installed one, in the short form of its path just for me."""
        release, wine, bits = self.release, self.wine, self.bits
        saver_file, key, user_key = release.saver, release.key, release.user_key
        system_saver, all_users_saver = self.system / saver_file, release.saver_path
        program_files = rf"C:\Program Files\{release.folder}"
        self.reg("add", DESKTOP_KEY, "/v", "ScreenSaveTimeOut", "/d", TIMEOUT_SECONDS, "/f")
        self.reg("add", DESKTOP_KEY, "/v", "ScreenSaveActive", "/d", "0", "/f")
        self.just_for_me = f"Install just for me ({wine.output('cmd', '/c', 'echo', '%USERNAME%')})"
        user_entries = user_key.rsplit("\\", 1)[0]
        desktop, entries = wine.key_state(DESKTOP_KEY), wine.key_state(user_entries)

        self.begin(f"silent install for all users ({' '.join(all_users_switches)})")
        check("exit code", 0, self.install(*all_users_switches))
        self.check_saver(rf"system32\{saver_file}", system_saver, f"the {bits}-bit saver")
        if bits == 64:
            self.check_saver(rf"syswow64\{saver_file}",
                             wine.prefix / "drive_c/windows/syswow64" / saver_file, "(absent)")
        check(f"the user's {DESKTOP_KEY}", "unchanged", wine.key_change(DESKTOP_KEY, desktop))
        check("the user's uninstall entries", "unchanged", wine.key_change(user_entries, entries))
        self.check_entry(key, all_users_saver, program_files)

        # NSIS ends a damaged installer with its own 2, which must never read as
        # one of the codes a deployment acts on, and it changes nothing.
        self.begin("a damaged installer over the install for all users")
        damaged = bytearray(release.installer.read_bytes())
        middle = len(damaged) // 2
        damaged[middle:middle + 7] = b"damaged"
        (self.work / "damaged.exe").write_bytes(damaged)
        uninstaller = self.unix_path(rf"{program_files}\Uninstall.exe")
        saver_before, uninstaller_before = changed(system_saver), changed(uninstaller)
        entry = wine.key_state(key)
        check("exit code, NSIS's own", 2,
              self.install("/S", "/AllUsers", installer=self.work / "damaged.exe"))
        check(rf"system32\{saver_file} untouched", saver_before, changed(system_saver))
        check("uninstaller untouched", uninstaller_before, changed(uninstaller))
        check("uninstall entry", "unchanged", wine.key_change(key, entry))

        self.begin("the saver for all users, started from a setting")
        self.check_saver_runs(all_users_saver)
        self.begin("silent install and uninstall for all users while the saver runs")
        self.check_in_use(all_users_saver, "/AllUsers", program_files, key)
        self.begin("silent install for all users over a read-only saver")
        wine.run("cmd", "/c", "attrib", "+r", all_users_saver, output=False)
        check("exit code", 0, self.install("/S", "/AllUsers"))
        self.check_saver(rf"system32\{saver_file}", system_saver, f"the {bits}-bit saver")
        self.begin("install just for me over the install for all users")
        self.check_other_mode_refused("/CurrentUser", program_files)

        user_saver = OTHER_SAVER if keep_user_saver else all_users_saver
        self.begin(f"silent uninstall for all users with {user_saver} as the user's saver")
        self.check_uninstall(key, program_files, all_users_saver, user_saver, "0")
        self.reg("delete", DESKTOP_KEY, "/v", "SCRNSAVE.EXE", "/f")

        folder = rf"{self.user_programs()}\{release.folder}"
        saver_path = rf"{folder}\{saver_file}"
        self.begin("silent install just for me")
        check("exit code", 0, self.install("/S", "/CurrentUser"))
        self.check_saver(saver_path, self.unix_path(saver_path), f"the {bits}-bit saver")
        self.check_saver(rf"system32\{saver_file}", system_saver, "(absent)")
        check("SCRNSAVE.EXE", saver_path, wine.reg_value(DESKTOP_KEY, "SCRNSAVE.EXE"))
        check("ScreenSaveActive", "1", wine.reg_value(DESKTOP_KEY, "ScreenSaveActive"))
        check("no entry for all users", "(absent)", wine.reg_value(key, "DisplayName"))
        self.check_entry(user_key, saver_path, folder)

        # Windows starts the saver from the setting without quotes, and the
        # settings dialog may store it in its short form; a path may also come
        # partly short, the account's folder short and the install folder's
        # blank kept.
        self.begin("the saver just for me, started from the setting as written")
        self.check_saver_runs(wine.reg_value(DESKTOP_KEY, "SCRNSAVE.EXE"))
        short = self.short_path(saver_path)
        partly = rf"{self.short_path(self.user_programs())}\{release.folder}\{saver_file}"
        check(f"the short form {short}: another path, without blanks", "yes",
              yes(short != saver_path and " " not in short))
        self.check_saver_runs(short)
        check(f"the partly short form {partly}: another path, with a blank", "yes",
              yes(partly != saver_path and " " in partly))
        self.check_saver_runs(partly)
        self.begin("silent install and uninstall just for me while the saver runs")
        self.check_in_use(saver_path, "/CurrentUser", folder, user_key)
        self.begin("install for all users over the install just for me")
        self.check_other_mode_refused("/AllUsers", folder)

        user_saver = saver_path if keep_user_saver else self.short_path(saver_path)
        self.begin(f"silent uninstall just for me with {user_saver} as the user's saver")
        self.check_uninstall(user_key, folder, saver_path, user_saver, "1")

        self.begin("the wizard for all users")
        self.reg("add", DESKTOP_KEY, "/v", "SCRNSAVE.EXE", "/d", OTHER_SAVER, "/f")
        desktop = wine.key_state(DESKTOP_KEY)
        self.wizard_install(ALL_USERS_CHOICE)
        self.check_saver(rf"system32\{saver_file}", system_saver, f"the {bits}-bit saver")
        check(f"the user's {DESKTOP_KEY}", "unchanged", wine.key_change(DESKTOP_KEY, desktop))
        self.check_entry(key, all_users_saver, program_files)
        self.begin("the uninstaller's wizard for all users")
        self.wizard_uninstall(program_files)
        self.check_removed(key, program_files, all_users_saver)

        self.begin("the wizard just for me")
        self.wizard_install(self.just_for_me)
        self.check_saver(saver_path, self.unix_path(saver_path), f"the {bits}-bit saver")
        check("SCRNSAVE.EXE", saver_path, wine.reg_value(DESKTOP_KEY, "SCRNSAVE.EXE"))
        self.check_entry(user_key, saver_path, folder)
        self.begin("the uninstaller's wizard just for me, with another saver picked")
        self.reg("add", DESKTOP_KEY, "/v", "SCRNSAVE.EXE", "/d", OTHER_SAVER, "/f")
        self.wizard_uninstall(folder)
        self.check_removed(user_key, folder, saver_path)
        check("SCRNSAVE.EXE", OTHER_SAVER, wine.reg_value(DESKTOP_KEY, "SCRNSAVE.EXE"))


def main():
    start("installer")
    require("WINE", "PACKAGING", "PICTURE", "INSTALLER_TEST")
    # Wine names the prefixes' account after the user.
    os.environ["USER"] = ACCOUNT
    # The display first: it stops the test where a package it needs is missing.
    with FreshWindows("installer") as fresh, tempfile.TemporaryDirectory() as work:
        work = Path(work)
        release = Release(work)
        # The released installer is a 32-bit program. Where 32-bit programs
        # cannot run, its 64-bit build from the same script stands in, in a
        # 64-bit Windows.
        wine_32, cause = fresh.start("win32")
        wine_64, _ = fresh.start("win64")
        installer_loader = wine_32.loader if wine_32 else wine_64.loader
        if not wine_32:
            stand_in = os.environ.get("PLOVIX_TEST_INSTALLER_64")
            if not stand_in:
                fail("no PLOVIX_TEST_INSTALLER_64, which signed_packages.py makes")
            release.installer = Path(stand_in)
            log(f"{cause}: testing the installer's 64-bit build in a 64-bit Windows only")
        if os.environ.get("PLOVIX_TEST_SIGNER"):
            begin("signatures of the release")
            check("installer", "signed", signature(release.setup))
            for saver in sorted(release.released.glob("*.scr")):
                check(f"archive's {saver.name}", "signed", signature(saver))
        for bits, wine, switches, keep_user_saver in ((64, wine_64, ("/S", "/AllUsers"), False),
                                                      (32, wine_32, ("/S",), True)):
            if wine:
                windows = Windows(wine, bits, release, installer_loader, work)
                try:
                    windows.test(switches, keep_user_saver)
                finally:
                    windows.end()
    finish()


if __name__ == "__main__":
    main()
