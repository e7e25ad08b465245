#!/bin/sh
# wine-run.sh [--i686] PREFIX PROGRAM [ARGS...]: runs a Windows program under
# Wine (64-bit, or 32-bit with Debian's wine32 installed: the 64-bit launcher
# starts either) in the prefix PREFIX, headless, creating it on first use.
# With --i686 the program is a 32-bit one. Some machines execute no 32-bit
# x86 code at all, whatever is installed; whether this one does is found out
# once per prefix by running the 32-bit loader, and where it cannot run the
# program is not started: the script says why and exits with 77, which the
# tests take as skipped. Any other failure stays a failure.
# wine-run.sh --stop PREFIX: ends that prefix's wineserver, and nothing else.
set -eu
wine=${WINE64:-/usr/lib/wine/wine64}
wine32=${WINE32:-/usr/lib/wine/wine}
wineserver=${WINESERVER:-/usr/lib/wine/wineserver}
export WINEDEBUG=-all
skipped=77

if [ "${1:-}" = "--stop" ]; then
  [ $# -eq 2 ] || { echo "usage: $0 --stop PREFIX" >&2; exit 2; }
  WINEPREFIX=$(realpath -m "$2") "$wineserver" -k 2>/dev/null || true
  exit 0
fi
i686=no
if [ "${1:-}" = "--i686" ]; then
  i686=yes
  shift
fi
[ $# -ge 2 ] || { echo "usage: $0 [--i686] PREFIX PROGRAM [ARGS...]" >&2; exit 2; }
WINEPREFIX=$(realpath -m "$1")
export WINEPREFIX
shift

# The 32-bit loader's answer, kept beside the prefix: "runs", or why not.
# Only "Exec format error" (the kernel refusing 32-bit code) means the
# machine cannot; a missing loader is a broken install and fails.
i686_verdict=$WINEPREFIX.i686
mkdir -p "$(dirname "$WINEPREFIX")"
if [ $i686 = yes ]; then
  (
    flock 9
    if [ ! -f "$i686_verdict" ]; then
      [ -x "$wine32" ] || { echo "$0: no 32-bit Wine loader at $wine32 (package wine32:i386)" >&2; exit 1; }
      status=0
      out=$("$wine32" --version 2>&1) || status=$?
      if [ $status -eq 0 ]; then
        echo runs >"$i686_verdict"
      elif [ $status -eq 126 ] && echo "$out" | grep -q "Exec format error"; then
        echo "this machine runs no 32-bit x86 code ($wine32 --version: Exec format error)" >"$i686_verdict"
      else
        echo "$0: the 32-bit Wine loader failed (exit status $status): $out" >&2
        exit 1
      fi
    fi
  ) 9>"$WINEPREFIX.lock"
  if [ "$(cat "$i686_verdict")" != runs ]; then
    echo "skipped: $(cat "$i686_verdict")"
    exit $skipped
  fi
fi

# A new prefix is made once (again for one made before 32-bit Wine was
# there, which lacks its 32-bit half), under a lock, so tests started side
# by side do not race to build it. The null graphics driver lets windows exist
# without a display; the X11 values keep an Xvfb run free of window-manager
# waits.
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
