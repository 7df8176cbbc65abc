#!/usr/bin/env bash
# The game's executable is built as a distribution builds its programs: position
# independent, stack protected, relocations read-only and bound at start.
# Usage: tst_hardening.sh <executable>
set -u
exe=${1:?usage: tst_hardening.sh <executable>}
passed=0
failed=0
check() { if eval "$2"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $1"; fi; }

header=$(readelf -h "$exe")
segments=$(readelf -lW "$exe")
dynamic=$(readelf -dW "$exe")
symbols=$(readelf --dyn-syms -W "$exe")
check "position independent" 'grep -q "Type:.*DYN" <<< "$header"'
check "full RELRO: a read-only segment" 'grep -q "GNU_RELRO" <<< "$segments"'
check "full RELRO: bound at start" 'grep -Eq "\(BIND_NOW\)|\(FLAGS\).*BIND_NOW|\(FLAGS_1\).*NOW" <<< "$dynamic"'
check "stack protector" 'grep -q "__stack_chk_fail" <<< "$symbols"'
check "no executable stack" 'grep -A1 "GNU_STACK" <<< "$segments" | grep -qv "RWE"'
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
