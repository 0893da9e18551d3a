#!/usr/bin/env bash
# Makes what ships to Windows users, in build/dist:
#   Gyrolens-1.2-setup.exe  the installer (per user, Start-menu entry,
#                           uninstaller; see packaging/Gyrolens.nsi)
#   Gyrolens-1.2-win64.zip  Gyrolens.exe, the default Gyrolens.ini, the help
#                           file GyrolensHelp.chm and a short read-me
set -euo pipefail
. "$(dirname "$0")/common.sh"
configure_windows_build
cmake --build "$build/win" -j "${GYROLENS_JOBS:-2}" --target installer zip >/dev/null
mkdir -p "$build/dist"
for f in "$build"/win/dist/Gyrolens-*-setup.exe "$build"/win/dist/Gyrolens-*-win64.zip; do
    cp "$f" "$build/dist/"
    echo "$build/dist/$(basename "$f")"
done
