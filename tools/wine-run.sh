#!/usr/bin/env bash
# Runs a Windows program under 64-bit Wine the way the tests expect it:
# a prefix of the project's own, the Japanese locale (ANSI code page 932),
# no Wine debug chatter, and a private Xvfb display of a fixed size.
#
#   GYROLENS_BUILD    build folder that holds the prefix (default: <repo>/build)
#   GYROLENS_SCREEN   screen size, default 1024x768x24
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${GYROLENS_BUILD:-$top/build}
screen=${GYROLENS_SCREEN:-1024x768x24}
mkdir -p "$build"

# One prefix per screen size: Wine's desktop keeps the size it started with.
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix-$screen}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# A display number derived from the prefix path, so separate checkouts and
# screen sizes never share an X server.
display=$(( 40 + $(printf '%s' "$WINEPREFIX" | cksum | cut -d' ' -f1) % 400 ))
export DISPLAY=:$display

exec 9>"$build/.wine-run-$screen.lock"
flock 9
if ! xdpyinfo -display ":$display" >/dev/null 2>&1; then
    rm -f "/tmp/.X$display-lock" "/tmp/.X11-unix/X$display"
    setsid Xvfb ":$display" -screen 0 "$screen" -nolisten tcp -ac \
        </dev/null >"$build/xvfb-$display.log" 2>&1 9>&- &
    for _ in $(seq 100); do
        xdpyinfo -display ":$display" >/dev/null 2>&1 && break
        sleep 0.1
    done
fi
if [ ! -f "$WINEPREFIX/.gyrolens-ready-2" ]; then
    wine wineboot -i </dev/null >/dev/null 2>&1 || true
    # No window manager runs on the private display: with Wine's default,
    # hiding or destroying a window waits two seconds for one to answer.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    # The Japanese faces the dialogs and settings name, drawn with the IPA
    # fonts that tools/setup.sh installs.
    for face in 'ＭＳ Ｐゴシック' 'MS Pゴシック' 'MS UI Gothic'; do
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d IPAPGothic /f </dev/null >/dev/null 2>&1
    done
    for face in 'ＭＳ ゴシック' 'MS ゴシック' 'MS Gothic'; do
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d IPAGothic /f </dev/null >/dev/null 2>&1
    done
    wineserver -w || true
    touch "$WINEPREFIX/.gyrolens-ready-2"
fi
flock -u 9
exec 9>&-

exec wine "$@"
