#!/usr/bin/env bash
# Runs a Windows program under 64-bit Wine the way the tests expect it:
# a prefix of the project's own, the Japanese locale (ANSI code page 932),
# no Wine debug chatter, and a private Xvfb display of a fixed size.
#
#   GYROLENS_BUILD    build folder that holds the prefix (default: <repo>/build)
#   GYROLENS_SCREEN   screen size, default 1024x768x24
#   GYROLENS_DPI      display DPI, default 96; another value (144 for 150%)
#                     gets a prefix of its own whose registry holds it
#   GYROLENS_HOST_DISPLAY=1  use $DISPLAY (a real desktop) instead of Xvfb
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${GYROLENS_BUILD:-$top/build}
screen=${GYROLENS_SCREEN:-1024x768x24}
dpi=${GYROLENS_DPI:-96}
case $dpi in
    ''|*[!0-9]*) echo "wine-run.sh: GYROLENS_DPI must be a number, not '$dpi'" >&2; exit 2 ;;
esac
# Wine fixes much of what it reports at a prefix's first start, so each DPI
# other than 96 has a prefix (and a display) of its own.
variant=$screen
[ "$dpi" = 96 ] || variant=$screen-dpi$dpi
mkdir -p "$build"

export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ "${GYROLENS_HOST_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
    # The user's own display, with its window manager.
    host=host
    [ "$dpi" = 96 ] || host=host-dpi$dpi
    export WINEPREFIX=${WINEPREFIX:-$build/wineprefix-$host}
    lock=$build/.wine-run-$host.lock
    managed=Y
else
    # One prefix per screen size: Wine's desktop keeps the size it started with.
    export WINEPREFIX=${WINEPREFIX:-$build/wineprefix-$variant}
    lock=$build/.wine-run-$variant.lock
    managed=N
    # A display number derived from the prefix path, so separate checkouts
    # and screen sizes never share an X server.
    display=$(( 40 + $(printf '%s' "$WINEPREFIX" | cksum | cut -d' ' -f1) % 400 ))
    # Another checkout's server of another size may hold the number: move on.
    want=${screen%x*}
    while info=$(xdpyinfo -display ":$display" 2>/dev/null) &&
          ! grep -q "dimensions: *$want pixels" <<<"$info"; do
        display=$((display + 1))
    done
    export DISPLAY=:$display
fi

exec 9>"$lock"
flock 9
if [ "$managed" = N ] && ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
    rm -f "/tmp/.X$display-lock" "/tmp/.X11-unix/X$display"
    setsid Xvfb ":$display" -screen 0 "$screen" -nolisten tcp -ac \
        </dev/null >"$build/xvfb-$display.log" 2>&1 9>&- &
    # tools/test.sh stops the servers it caused to start.
    echo $! >"$build/xvfb-$display.pid"
    for _ in $(seq 100); do
        xdpyinfo -display ":$display" >/dev/null 2>&1 && break
        sleep 0.1
    done
fi
if [ ! -f "$WINEPREFIX/.gyrolens-ready-2" ]; then
    wine wineboot -i </dev/null >/dev/null 2>&1 || true
    # The display's DPI, in both places Wine reads it, before any program
    # of ours starts in the prefix.
    if [ "$dpi" != 96 ]; then
        for key in 'HKCU\Control Panel\Desktop' \
                   'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
            wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
        done
    fi
    # No window manager runs on the private display: with Wine's default,
    # hiding or destroying a window waits two seconds for one to answer.
    if [ "$managed" = N ]; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    fi
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
