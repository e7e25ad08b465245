#!/bin/sh
# wine-run.sh PREFIX PROGRAM [ARGS...]: runs a 64-bit Windows program under
# Wine in the prefix PREFIX, headless, creating the prefix on first use.
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

# A new prefix is made once, under a lock, so tests started side by side
# do not race to build it. The null graphics driver lets windows exist
# without a display; the X11 values keep an Xvfb run free of window-manager
# waits.
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.mervex-ready" ]; then
    "$wine" wineboot -i >/dev/null 2>&1 || true
    "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    "$wineserver" -w
    touch "$WINEPREFIX/.mervex-ready"
  fi
) 9>"$WINEPREFIX.lock"

exec "$wine" "$@"
