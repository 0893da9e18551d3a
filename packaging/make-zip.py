#!/usr/bin/env python3
"""Makes the portable zip for someone who only has Windows: the static
Gyrolens.exe, the default settings file, the help file and a short read-me,
all in one folder "Gyrolens".

  make-zip.py PROGRAM SETTINGS HELP OUT.zip
"""

import sys
import zipfile

README = """Gyrolens 1.2 (Windows x64)

Gyrolens captures the foreground window or the whole screen with hotkeys
and keeps a history of the captures, which it saves as a CSV file and
exports as HTML pages.

The folder holds:
  Gyrolens.exe       the program
  Gyrolens.ini       its settings: a readable window size and fonts, PNG
                     captures named capture1.png, capture2.png, ...
  GyrolensHelp.chm   the help (ヘルプ > 目次)
  README.txt         this file

Keep the three files together in a folder of their own and start
Gyrolens.exe from there: the program reads Gyrolens.ini from the folder it
is started in and looks for GyrolensHelp.chm there.  Captures go into that
folder too unless you choose another one (ツール > 環境設定).

If the help shows empty pages, the file was marked as downloaded: open the
properties of GyrolensHelp.chm and check "許可する" (Unblock).

1. Choose the capture keys on the tab "設定" (press a row's button so that
   it reads "有効").
2. Start monitoring with キャプチャー > 開始 (Ctrl+Alt+S).
3. Press a capture key: the image file is written and a row is added.
4. Save the history with ファイル > 上書きして保存 (Ctrl+S).

Nothing needs installing; the program uses only what Windows provides.
Gyrolens-1.2-setup.exe installs the same program for the current user, with
a Start-menu entry and an uninstaller.
"""


def main():
    if len(sys.argv) != 5:
        sys.exit("usage: make-zip.py PROGRAM SETTINGS HELP OUT.zip")
    program, settings, help_file, out = sys.argv[1:]
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        z.write(program, "Gyrolens/Gyrolens.exe")
        z.write(settings, "Gyrolens/Gyrolens.ini")
        z.write(help_file, "Gyrolens/GyrolensHelp.chm")
        z.writestr("Gyrolens/README.txt", README.replace("\n", "\r\n").encode("cp932"))


if __name__ == "__main__":
    main()
