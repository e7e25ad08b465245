#!/bin/sh
# The module's dynamic symbol table defines its five entry points and nothing else.
set -eu
lib=$1
found=$(nm -D --defined-only "$lib" | awk '{print $3}' | sort | tr '\n' ' ')
expected="GetModuleVersion InitModule ModuleDate ovcExit ovcInit "
if [ "$found" != "$expected" ]; then
  echo "exports of $lib: $found"
  echo "expected:           $expected"
  exit 1
fi
echo "exports of $lib: $found"
