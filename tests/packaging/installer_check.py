#!/usr/bin/env python3
"""The installer's round trip under Wine: a quiet install, the installed
program started from its shortcut, a second install over the user's files
and the registered quiet uninstall.  The prefix and home folder (Wine links
the prefix's Documents to $HOME) live under --work and are reset each run."""

import argparse
import os
import pathlib
import shutil
import subprocess
import sys

UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Gyrolens"
DEFAULT_WINDOW = (40, 30, 900, 640)  # the default settings file's [Window]
failures = []


def check(ok, message):
    if not ok:
        failures.append(message)
        print("installer_check: FAILED: " + message, file=sys.stderr)


class Wine:
    def __init__(self, wine_run, work):
        self.wine_run = wine_run
        self.env = dict(os.environ, HOME=str(work / "home"), WINEPREFIX=str(work / "prefix"),
                        WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=")
        (work / "home").mkdir(parents=True, exist_ok=True)

    def run(self, *args, check_rc=True):
        r = subprocess.run([self.wine_run, *args], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=180)
        if check_rc and r.returncode != 0:
            sys.exit(f"installer_check: FAILED: {' '.join(args)} ended with {r.returncode}: {r.stderr.decode(errors='replace')}")
        return r

    def start(self, *args):
        return subprocess.Popen([self.wine_run, *args], env=self.env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def wait_all(self):  # the uninstaller runs a copy of itself from %TEMP%
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=180)

    def registry(self, key):
        """The values of a key as {name: text}, or None when it is missing."""
        r = self.run("reg", "query", key, check_rc=False)
        if r.returncode != 0:
            return None
        values = {}
        for line in r.stdout.decode("utf-8", errors="replace").splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[1].startswith("REG_"):
                values[parts[0]] = parts[2] if len(parts) == 3 else ""
        return values


def names_in_link(link, text):
    """Whether the shell link holds `text` (in either of its encodings)."""
    data = link.read_bytes().lower()
    return any(text.lower().encode(encoding) in data for encoding in ("cp932", "utf-16-le"))


def main():
    parser = argparse.ArgumentParser()
    for name in ("setup", "program", "settings", "help-file", "window-shot", "wine-run", "work"):
        parser.add_argument("--" + name, required=True)
    parser.add_argument("--screenshots")
    args = parser.parse_args()
    work = pathlib.Path(args.work).resolve()
    wine = Wine(args.wine_run, work)

    user = os.environ.get("USER") or "root"
    profile = work / "prefix" / "drive_c" / "users" / user
    install_dir = profile / "AppData" / "Local" / "Programs" / "Gyrolens"
    link = profile / "AppData" / "Roaming" / "Microsoft" / "Windows" / "Start Menu" / "Programs" / "Gyrolens.lnk"
    data = profile / "Documents" / "Gyrolens"
    win_profile = "C:\\users\\" + user
    win_install = win_profile + r"\AppData\Local\Programs\Gyrolens"
    win_data = win_profile + r"\Documents\Gyrolens"

    # A round trip from nothing: what an earlier run left goes.
    if (work / "prefix").exists():
        wine.run("reg", "delete", UNINSTALL_KEY, "/f", check_rc=False)
        shutil.rmtree(install_dir, ignore_errors=True)
        shutil.rmtree(data, ignore_errors=True)
        if link.exists():
            link.unlink()

    # 1. Install.
    wine.run(args.setup, "/S")
    shipped = {
        install_dir / "Gyrolens.exe": pathlib.Path(args.program),
        data / "Gyrolens.ini": pathlib.Path(args.settings),
        data / "GyrolensHelp.chm": pathlib.Path(args.help_file),
    }
    for installed, source in shipped.items():
        check(installed.exists() and installed.read_bytes() == source.read_bytes(),
              f"{installed} is not the shipped {source.name}")
    check((install_dir / "uninstall.exe").exists(), "no uninstall.exe")
    # Its start below shows that it works; these are what it names.
    for text in (win_install + r"\Gyrolens.exe", win_data):
        check(link.exists() and names_in_link(link, text), f"the Start-menu shortcut does not name {text}")
    values = wine.registry(UNINSTALL_KEY) or {}
    expected = {"DisplayName": "Gyrolens", "DisplayVersion": "1.2", "Publisher": "Gyrolens", "NoModify": "0x1",
                "NoRepair": "0x1", "DisplayIcon": win_install + r"\Gyrolens.exe,0", "InstallLocation": win_install,
                "UninstallString": f'"{win_install}\\uninstall.exe"',
                "QuietUninstallString": f'"{win_install}\\uninstall.exe" /S'}
    for name, value in expected.items():
        check(values.get(name, "").lower() == value.lower(), f"Uninstall key {name} = {values.get(name)!r}, not {value!r}")
    size_kb = int(values.get("EstimatedSize", "0"), 0)
    program_kb = pathlib.Path(args.program).stat().st_size // 1024
    check(program_kb <= size_kb <= 2 * program_kb + 1024, f"EstimatedSize {size_kb} KB for a {program_kb} KB program")

    # 2. The shortcut starts the installed program in the data folder.
    program = wine.start("start", "/wait", "/unix", str(link))
    shot = pathlib.Path(args.screenshots or work) / "installed-program.png"
    shot.parent.mkdir(parents=True, exist_ok=True)
    r = wine.run(args.window_shot, "Z:" + str(shot).replace("/", "\\"), "60", check_rc=False)
    program.wait(timeout=120)
    wine.wait_all()
    found = [line.split()[1:] for line in r.stdout.decode().splitlines() if line.startswith("window ")]
    check(found and tuple(map(int, found[0])) == DEFAULT_WINDOW,
          f"the installed program's window is {found}, not {DEFAULT_WINDOW}")
    # Closing wrote every setting back: the ones it had read from the
    # default settings file, not the program's own defaults.
    settings = (data / "Gyrolens.ini").read_bytes().decode("cp932")
    for line in ("JPEGモード=2", "JPEG品質=80", "画像ファイル名=capture", "全体フォントサイズ=14", "幅=900", "高さ=640",
                 "項目２幅=360"):
        check(line in settings.splitlines(), f"Gyrolens.ini after the first start lacks {line}")

    # 3. A second install keeps what is in the data folder.
    kept = {
        data / "Gyrolens.ini": "\r\n[File_Set]\r\nJPEGモード=1\r\n".encode("cp932"),
        data / "GyrolensHelp.chm": b"the user's own help",
        data / "capture1.png": b"a capture",
        data / "history.csv": "日時,コメント,ファイルパス,テキスト情報\r\n".encode("cp932"),
    }
    for path, content in kept.items():
        path.write_bytes(content)
    (install_dir / "Gyrolens.exe").unlink()
    wine.run(args.setup, "/S")
    check((install_dir / "Gyrolens.exe").exists(), "a second install did not put the program back")
    for path, content in kept.items():
        check(path.exists() and path.read_bytes() == content, f"a second install changed {path.name}")

    # 4. The uninstall the registry names.
    quiet = (wine.registry(UNINSTALL_KEY) or {}).get("QuietUninstallString", "")
    uninstaller, _, arguments = quiet.partition('" ')
    wine.run(uninstaller.strip('"'), *arguments.split())
    wine.wait_all()
    check(not install_dir.exists(), f"{install_dir} is left after the uninstall")
    check(not link.exists(), "the shortcut is left after the uninstall")
    check(wine.registry(UNINSTALL_KEY) is None, "the Uninstall key is left after the uninstall")
    for path, content in kept.items():
        check(path.exists() and path.read_bytes() == content, f"the uninstall touched {path.name}")

    if failures:
        sys.exit(1)
    print("installer_check: install, shortcut, second install and uninstall passed")


if __name__ == "__main__":
    main()
