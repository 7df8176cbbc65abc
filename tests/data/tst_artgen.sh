#!/usr/bin/env bash
# Checks the picture generator: same bytes on a second run, the icon's sizes,
# picture sizes and transparency where the game relies on it.
# Usage: tst_artgen.sh <artgen executable> <game directory of the build>
set -u

artgen="${1:?usage: tst_artgen.sh <artgen> <game dir>}"
game="${2:?usage: tst_artgen.sh <artgen> <game dir>}"
identify=identify-im6.q16

passed=0
failed=0
ok() { passed=$((passed + 1)); echo "PASS: $1"; }
bad() { failed=$((failed + 1)); echo "FAIL: $1"; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# A second run of a sample, into a fresh directory, must agree byte for byte
# with the build's own run: backgrounds, a labelled map, illustrations, a copy,
# figures and the interlude's pictures go through every drawing path.
sample=(b1 b14 bcg9 ib "cg9 - 1" cg9-1 cg36 a1-1 a-13 difang difang-1)
if "$artgen" "$work/one" "${sample[@]}" >"$work/one.log" 2>&1; then
    ok "artgen runs again"
else
    bad "artgen failed: $(cat "$work/one.log")"
fi
if grep -q "missing glyph" "$work/one.log"; then
    bad "labels refused: $(grep -h "missing glyph" "$work/one.log" | head -3)"
else
    ok "every label has its glyphs"
fi
count=$(find "$game/png" -name '*.png' 2>/dev/null | wc -l)
if [ "$count" -ge 130 ]; then ok "$count pictures written"; else bad "only $count pictures written"; fi
differ=""
for name in "${sample[@]}"; do
    cmp -s "$work/one/png/$name.png" "$game/png/$name.png" || differ="$differ '$name'"
done
if [ -z "$differ" ]; then ok "two runs give identical bytes"; else bad "runs differ:$differ"; fi

# The build's own output is what the game loads: it must be there and match.
if [ -f "$game/favicon.ico" ] && diff -q "$game/favicon.ico" "$work/one/favicon.ico" >/dev/null; then
    ok "build directory holds the current icon"
else
    bad "build directory icon missing or stale: $game/favicon.ico"
fi

# Icon: exactly the four sizes, each with an alpha channel.
sizes=$("$identify" -format '%wx%h %A\n' "$game/favicon.ico" 2>/dev/null | sort -t x -k1,1n | tr '\n' ';')
if [ "$sizes" = "16x16 True;32x32 True;48x48 True;256x256 True;" ] || \
   [ "$sizes" = "16x16 Blend;32x32 Blend;48x48 Blend;256x256 Blend;" ]; then
    ok "icon has 16, 32, 48 and 256 pixel images with alpha"
else
    bad "icon images: $sizes"
fi

# Picture sizes: a sample across backgrounds, illustrations, endings, pages,
# names with spaces and gallery copies.
for name in ib b b1 b14 b15-1 b15-4 b17 cg1-1 cg9\ -\ 1 cg9\ -\ 2 cg9-1 cg9-2 cg17-6 cg19-4 cg36 bcg1 bcg9; do
    f="$game/png/$name.png"
    got=$("$identify" -format '%wx%h' "$f" 2>/dev/null)
    if [ "$got" = "1440x960" ]; then ok "$name is 1440x960"; else bad "$name is '$got', expected 1440x960"; fi
done
for name in a1-1 a1-12 a2-1-1 a2-2-10 a3-1-4 a3-2-10 a-13; do
    got=$("$identify" -format '%wx%h' "$game/png/$name.png" 2>/dev/null)
    if [ "$got" = "560x980" ]; then ok "$name is 560x980"; else bad "$name is '$got', expected 560x980"; fi
done
got=$("$identify" -format '%wx%h' "$game/png/difang.png" 2>/dev/null)
if [ "$got" = "40x40" ]; then ok "difang is 40x40"; else bad "difang is '$got', expected 40x40"; fi

# Gallery copies show the same picture as the story's spaced names.
for k in 1 2; do
    if cmp -s "$game/png/cg9 - $k.png" "$game/png/cg9-$k.png"; then
        ok "cg9-$k is a copy of 'cg9 - $k'"
    else
        bad "cg9-$k differs from 'cg9 - $k'"
    fi
done

# The gallery's rule: single illustrations as cgK, multi-part ones only as
# cgK-1, cgK-2, ... (a stray cgK would hide the first part).
for k in 1 7 13 17 19 28 30 32 33; do
    if [ -f "$game/png/cg$k-1.png" ] && [ ! -f "$game/png/cg$k.png" ]; then
        ok "cg$k comes in parts only"
    else
        bad "cg$k: expected cg$k-1.png and no cg$k.png"
    fi
done

# Transparency: figures and the enemy have clear corners and an opaque body;
# backgrounds are fully opaque.
corner_alpha() { "$identify" -format "%[fx:p{$2}.a]" "$1" 2>/dev/null; }
for name in difang a1-1 a2-2-1 a3-2-1 a-13; do
    f="$game/png/$name.png"
    c=$(corner_alpha "$f" "0,0")
    mean=$("$identify" -format '%[fx:mean.a]' "$f" 2>/dev/null)
    if [ "$c" = "0" ] && awk -v m="$mean" 'BEGIN { exit !(m > 0.1 && m < 0.95) }'; then
        ok "$name is transparent around an opaque body (mean alpha $mean)"
    else
        bad "$name: corner alpha '$c', mean alpha '$mean'"
    fi
done
# The enemy must stand out on the interlude's grey map.
contrast=$(convert-im6.q16 -size 40x40 xc:'#c2c2c2' "$game/png/difang.png" -composite \
    -colorspace Gray -format '%[fx:standard_deviation]' info: 2>/dev/null)
if awk -v s="$contrast" 'BEGIN { exit !(s > 0.15) }'; then
    ok "difang contrasts with the grey map (deviation $contrast)"
else
    bad "difang is hard to see on the grey map (deviation '$contrast')"
fi
for name in b2 cg20 bcg4; do
    m=$("$identify" -format '%[opaque]' "$game/png/$name.png" 2>/dev/null)
    if [ "$m" = "true" ] || [ "$m" = "True" ]; then ok "$name is opaque"; else bad "$name has transparency ('$m')"; fi
done

# No picture may be a flat fill: every picture has real variation.
flat=""
for f in "$game/png/"b*.png "$game/png/"cg*.png "$game/png/ib.png"; do
    s=$("$identify" -format '%[fx:standard_deviation]' "$f" 2>/dev/null)
    awk -v s="$s" 'BEGIN { exit !(s < 0.03) }' && flat="$flat $(basename "$f")"
done
if [ -z "$flat" ]; then ok "no flat pictures"; else bad "flat pictures:$flat"; fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
