#!/bin/bash
# CTest's way into Wine for the cross-built tests. Wine hands none of a test's
# console output back here, so the test writes its log to a file (Z: is the
# Unix root in every Wine prefix), printed when it ends; and Wine passes no
# QT_ variable on, so a batch file sets those before it starts the test.
set -u
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
{
  echo '@echo off'
  for name in $(compgen -e | grep '^QT_'); do
    echo "set \"$name=${!name}\""
  done
  printf '"%s"' "$(winpath "$(readlink -f "$1")")"
  shift
  for arg in "$@"; do printf ' "%s"' "$arg"; done
  printf ' -o "%s",txt\n' "$(winpath "$work/log.txt")"
  echo 'exit /b %errorlevel%'
} | sed 's/$/\r/' >"$work/test.bat"
wine cmd /c "$(winpath "$work/test.bat")"
status=$?
cat "$work/log.txt" 2>/dev/null
exit $status
