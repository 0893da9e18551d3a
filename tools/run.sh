#!/usr/bin/env bash
# Builds Gyrolens.exe and starts it under Wine.
#
#   tools/run.sh                        on this desktop ($DISPLAY), or on a
#                                       private Xvfb when there is none
#   tools/run.sh --screenshot FILE.png  on a private Xvfb: waits until the
#                                       main window has painted, saves a PNG
#                                       of it and closes the program
#                                       (GYROLENS_SHOT_CAPTURES=n takes n
#                                       screen captures first)
#
# The program works in a data folder outside the checkout, which holds its
# Gyrolens.ini, the histories and the captures: GYROLENS_DATA, by default
# ~/Gyrolens.  A new data folder gets the default settings file
# (resources/Gyrolens.ini: a readable window size, column widths and fonts,
# PNG captures named capture1.png, ...) and the help file; files already
# there are left as they are.
# Installs whatever is missing first (see tools/setup.sh).
set -euo pipefail
. "$(dirname "$0")/common.sh"

shot=""
if [ "${1:-}" = --screenshot ]; then
    [ -n "${2:-}" ] || { echo "usage: tools/run.sh [--screenshot FILE.png]" >&2; exit 2; }
    shot=$(realpath -m "$2")
fi

configure_windows_build
cmake --build "$build/win" -j "${GYROLENS_JOBS:-2}" --target Gyrolens window_shot default_settings help_file >/dev/null
exe=$build/win/app/Gyrolens.exe

data=${GYROLENS_DATA:-$HOME/Gyrolens}
mkdir -p "$data"
for shipped in "$build/win/resources/Gyrolens.ini" "$build/win/help/GyrolensHelp.chm"; do
    [ -e "$data/$(basename "$shipped")" ] || cp "$shipped" "$data/"
done
cd "$data"

winpath() { printf 'Z:%s' "${1//\//\\}"; }

if [ -n "$shot" ]; then
    mkdir -p "$(dirname "$shot")"
    "$top/tools/wine-run.sh" "$exe" &
    program=$!
    "$top/tools/wine-run.sh" "$build/win/tests/app/window_shot.exe" "$(winpath "$shot")" 60 "${GYROLENS_SHOT_CAPTURES:-0}"
    wait "$program"
    # The picture is written uncompressed; pack it.
    python3 - "$shot" <<'PY'
import struct, sys, zlib
path = sys.argv[1]
data = open(path, "rb").read()
pos, chunks, idat = 8, [], b""
while pos < len(data):
    n, kind = struct.unpack(">I4s", data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + n]
    pos += 12 + n
    if kind == b"IDAT":
        idat += body
    else:
        chunks.append((kind, body))
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
packed = zlib.compress(zlib.decompress(idat), 9)
out = data[:8] + chunk(*chunks[0]) + chunk(b"IDAT", packed) + b"".join(chunk(k, b) for k, b in chunks[1:])
open(path, "wb").write(out)
PY
    echo "tools/run.sh: saved $shot"
elif [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    GYROLENS_HOST_DISPLAY=1 exec "$top/tools/wine-run.sh" "$exe"
else
    echo "tools/run.sh: no display; Gyrolens runs on a private Xvfb"
    exec "$top/tools/wine-run.sh" "$exe"
fi
