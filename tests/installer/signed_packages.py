#!/usr/bin/python3
# The installer tests' packages: made by ./scripts/package.sh with a throwaway
# self-signed code-signing certificate, made here with openssl, so that the
# tests install what a signed release holds. The certificate stays in
# build/test-signer/ for the tests to check every signature against. Then a
# 64-bit build of the installer from the same script, signed too, into
# PLOVIX_TEST_INSTALLER_64, for the installer test where 32-bit programs
# cannot run.
#
# The package command must take the certificate's password out of the
# environment before it starts any program: the programs it runs on PATH, and
# those they start, run through shims here that fail when they find it in
# theirs, and osslsigncode's fails when the password is among its arguments,
# where every local user could read it, or comes in a file that others may
# read. Each password file it was given must be gone once the packages are
# made. Started by a shimmed program's name, this is its shim.

import json
import os
import secrets
import shutil
import subprocess
import sys
from pathlib import Path

# Its cache would land in the source tree.
sys.dont_write_bytecode = True
from installer_checks import PACKAGES, ROOT, fail, log, require, start

SIGNER = ROOT / "build/test-signer"
# The compilers and ninja are not shimmed: CMake runs them by the paths it
# cached, and they inherit cmake's environment.
SHIMMED = ("cmake", "cpack", "makensis", "faketime", "wixl", "msiinfo", "msibuild", "zip",
           "osslsigncode")
# Every shim notes that it ran, and why it refused in REFUSALS, since some
# callers (CPack of makensis) keep what a program says in logs of their own.
STARTED = SIGNER / "started"
REFUSALS = SIGNER / "refusals"
PASSWORD_FILES = SIGNER / "password-files"
# What the shims know: the password and the programs they stand for; only its
# owner may read it.
SHIMS = SIGNER / "shims.json"


def note(file, line):
    with open(file, "a", encoding="utf-8") as notes:
        notes.write(line + "\n")


def shim(program):
    """Runs PROGRAM as the shim of its name, refusing what would show the password."""
    settings = json.loads(SHIMS.read_text(encoding="utf-8"))
    password = settings["password"]

    def refuse(why):
        print(f"{program}: {why}", file=sys.stderr)
        note(REFUSALS, f"{program}: {why}")
        sys.exit(1)

    note(STARTED, program)
    if password.encode() in Path("/proc/self/environ").read_bytes():
        refuse("started with the certificate's password in its environment")
    arguments = sys.argv[1:]
    if program == "osslsigncode":
        for previous, argument in zip([None, *arguments], arguments):
            if password in argument:
                refuse("the certificate's password is on the command line")
            if previous == "-readpass":
                try:
                    private = os.stat(argument).st_mode & 0o777 == 0o600
                except OSError:
                    private = False
                if not private:
                    refuse(f"others may read the password file {argument}")
                note(PASSWORD_FILES, argument)
    real = settings["programs"][program]
    os.execv(real, [real, *arguments])


def lines(file):
    return file.read_text(encoding="utf-8").splitlines() if file.exists() else []


def refused():
    """Names each refusal of a shim; false when there was none."""
    refusals = lines(REFUSALS)
    for line in refusals:
        log(line)
    return bool(refusals)


def run(command, environment):
    """Runs a command in the project's root; stops the test, after naming the
    shims' refusals, when it fails."""
    if subprocess.run(command, cwd=ROOT, env=os.environ | environment).returncode:
        refused()
        sys.exit(1)


def write_private(path, text):
    with open(os.open(path, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o600), "w") as file:
        file.write(text)


def main():
    start("signed-packages")
    installer_64 = os.environ.get("PLOVIX_TEST_INSTALLER_64")
    if not installer_64:
        fail("no PLOVIX_TEST_INSTALLER_64: the path of the 64-bit installer to make")
    require("PACKAGING")
    shutil.rmtree(SIGNER, ignore_errors=True)
    (SIGNER / "bin").mkdir(parents=True)
    pkcs12 = SIGNER / "signer.p12"
    # The password goes to the package command alone; openssl and the 64-bit
    # installer's makensis read it in a file.
    password = f"plovix-test-{secrets.token_hex(8)}"
    password_file = SIGNER / "password"
    write_private(password_file, password)
    for command in (["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                     "-subj", "/CN=Plovix test signer", "-addext", "extendedKeyUsage=codeSigning",
                     "-addext", "keyUsage=digitalSignature", "-keyout", SIGNER / "key.pem",
                     "-out", SIGNER / "cert.pem"],
                    ["openssl", "pkcs12", "-export", "-inkey", SIGNER / "key.pem", "-in",
                     SIGNER / "cert.pem", "-out", pkcs12, "-passout", f"file:{password_file}"]):
        made = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                              text=True)
        if made.returncode:
            fail(f"openssl {command[1]} failed: {made.stderr.strip()}")

    programs = {program: shutil.which(program) for program in SHIMMED}
    if None in programs.values():
        fail(f"not on PATH: {' '.join(name for name, path in programs.items() if not path)}")
    write_private(SHIMS, json.dumps({"password": password, "programs": programs}))
    for program in SHIMMED:
        (SIGNER / "bin" / program).symlink_to(Path(__file__).resolve())
    shims = {"PATH": f"{SIGNER / 'bin'}:{os.environ['PATH']}", "PLOVIX_SIGN_PKCS12": str(pkcs12)}

    run([ROOT / "scripts/package.sh"], shims | {"PLOVIX_SIGN_PASSWORD": password})
    Path(installer_64).parent.mkdir(parents=True, exist_ok=True)
    projects = sorted(PACKAGES.glob("_CPack_Packages/*/NSIS/project.nsi"))
    if not projects:
        fail(f"no NSIS project of the installer in {PACKAGES}/_CPack_Packages")
    # Signed at the packages' time; where every branch for 32-bit Windows is
    # dead, makensis warns of its labels, so only errors are shown.
    commit_time = subprocess.run(["git", "log", "-1", "--format=%ct"], cwd=ROOT,
                                 capture_output=True, text=True).stdout.strip()
    run([SIGNER / "bin/makensis", "-V1", "-DPLOVIX_TARGET=amd64-unicode",
         f"-DPLOVIX_OUT_FILE={installer_64}", *projects],
        shims | {"SOURCE_DATE_EPOCH": commit_time, "PLOVIX_SIGN_PASSWORD_FILE": str(password_file)})
    password_file.unlink()

    if refused():
        sys.exit(1)
    ran = lines(STARTED)
    for program in SHIMMED:
        if program not in ran:
            fail(f"{program} never ran through its shim, so nothing proves it ran without the "
                 "password")
    given = lines(PASSWORD_FILES)
    if not given:
        fail("no password reached osslsigncode in a file")
    for file in given:
        if Path(file).exists():
            fail(f"the password file {file} outlived its signing")


if __name__ == "__main__":
    if Path(sys.argv[0]).name in SHIMMED:
        shim(Path(sys.argv[0]).name)
    else:
        main()
