#!/bin/sh
# Installs the named Debian packages; the install scripts call it with the
# ones they found missing. Installing needs root.
set -eu
[ $# -gt 0 ] || exit 0
echo "installing: $*"
if [ "$(id -u)" != 0 ]; then
  echo "these packages are missing and installing them needs root: $*" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "$@"
