#!/usr/bin/env bash
# The modules of src/ form layers: a file may include its own module and the
# modules of lower layers only. Ranks make a cycle impossible.
set -u
src="${1:?usage: tst_layers.sh SRC_DIR}"
declare -A rank=([core]=0 [input]=1 [music]=1 [extras]=1 [stage]=2 [speech]=2 [story]=3 [settings]=4 [saves]=4 [app]=5)
failures=0
checked=0
for dir in "$src"/*/; do
  module=$(basename "$dir")
  if [ -z "${rank[$module]+x}" ]; then
    echo "FAIL: $module has no layer; give it a rank in $0"
    failures=$((failures + 1))
    continue
  fi
  while IFS= read -r hit; do
    file=${hit%%:*}
    target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$hit")
    checked=$((checked + 1))
    [ "$target" = "$module" ] && continue
    if [ -z "${rank[$target]+x}" ]; then
      echo "FAIL: ${file#$src/} includes unknown module $target"
      failures=$((failures + 1))
    elif [ "${rank[$target]}" -ge "${rank[$module]}" ]; then
      echo "FAIL: ${file#$src/} ($module) includes $target, which is not below it"
      failures=$((failures + 1))
    fi
  done < <(grep -HE '^#include "[^/"]+/' "$dir"*.h "$dir"*.cpp 2>/dev/null)
done
# Inside a module the files call each other one way too (a file's header and
# source count as one): a loop would make either side impossible to change or
# test alone.
for dir in "$src"/*/; do
  module=$(basename "$dir")
  edges=$(grep -HE "^#include \"$module/" "$dir"*.h "$dir"*.cpp 2>/dev/null \
    | sed -E "s#^.*/([^/.]+)\.[a-z]+:\#include \"$module/([^/.]+)\.h\".*#\1 \2#" | awk '$1 != $2')
  if ! loop=$(tsort <<<"$edges" 2>&1 >/dev/null) || [ -n "$loop" ]; then
    echo "FAIL: files of $module include each other in a loop:" $(grep -v 'input contains a loop' <<<"$loop" | sed 's/^tsort: //')
    failures=$((failures + 1))
  fi
done
if [ "$checked" -eq 0 ]; then
  echo "FAIL: no include found under $src"
  failures=1
fi
echo "$checked includes checked, $failures out of place"
[ "$failures" -eq 0 ]
