#!/bin/sh
# wine-run.sh PREFIX PROGRAM [ARGS...]: runs a Windows program under Wine
# (64-bit, or 32-bit with Debian's wine32 installed: the 64-bit launcher
# starts either) in the prefix PREFIX, headless, creating it on first use.
# wine-run.sh --stop PREFIX: ends that prefix's wineserver, and nothing else.
set -eu
wine=${WINE64:-/usr/lib/wine/wine64}
wineserver=${WINESERVER:-/usr/lib/wine/wineserver}
export WINEDEBUG=-all

if [ "${1:-}" = "--stop" ]; then
  [ $# -eq 2 ] || { echo "usage: $0 --stop PREFIX" >&2; exit 2; }
  WINEPREFIX=$(realpath -m "$2") "$wineserver" -k 2>/dev/null || true
  exit 0
fi
[ $# -ge 2 ] || { echo "usage: $0 PREFIX PROGRAM [ARGS...]" >&2; exit 2; }
WINEPREFIX=$(realpath -m "$1")
export WINEPREFIX
shift

# A new prefix is made once (again for one made before 32-bit Wine was
# there, which lacks its 32-bit half), under a lock, so tests started side
# by side do not race to build it. The null graphics driver lets windows exist
# without a display; the X11 values keep an Xvfb run free of window-manager
# waits.
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.mervex-ready-wow64" ]; then
    "$wine" wineboot -i >/dev/null 2>&1 || true
    "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    "$wineserver" -w
    touch "$WINEPREFIX/.mervex-ready-wow64"
  fi
) 9>"$WINEPREFIX.lock"

exec "$wine" "$@"
