#!/usr/bin/env bash
# Makes build/dist/Gyrolens-1.2-win64.zip: the static Gyrolens.exe and a
# short read-me, for someone who only has Windows.
set -euo pipefail
. "$(dirname "$0")/common.sh"
configure_windows_build
cmake --build "$build/win" -j "${GYROLENS_JOBS:-2}" --target Gyrolens >/dev/null
mkdir -p "$build/dist"
out=$build/dist/Gyrolens-1.2-win64.zip
python3 - "$build/win/app/Gyrolens.exe" "$out" <<'PY'
import sys, zipfile
exe, out = sys.argv[1], sys.argv[2]
readme = """Gyrolens 1.2 (Windows x64)

Gyrolens captures the foreground window or the whole screen with hotkeys
and keeps a history of the captures, which it saves as a CSV file and
exports as HTML pages.

Put Gyrolens.exe in a folder of its own and start it from there: it keeps
its settings in Gyrolens.ini in the folder it is started in, and looks for
its help file GyrolensHelp.chm there.

1. Choose the capture keys on the tab "設定" (check "有効" on a row).
2. Start monitoring with キャプチャー > 開始 (Ctrl+Alt+S).
3. Press a capture key: the image file is written and a row is added.
4. Save the history with ファイル > 上書きして保存 (Ctrl+S).

Nothing needs installing; the program uses only what Windows provides.
"""
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
    z.write(exe, "Gyrolens/Gyrolens.exe")
    z.writestr("Gyrolens/README.txt", readme.replace("\n", "\r\n").encode("cp932"))
print(out)
PY
