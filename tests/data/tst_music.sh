#!/usr/bin/env bash
# Checks the generated music: every track decodes as MP3 (with LAME's decoder), lasts 60-150 s, sits at
# -16 LUFS (+-1.5 LU) with a true peak of at most -1 dBTP, loops from silence to
# silence, and the generator writes the same bytes for two tracks on a second run.
# Usage: tst_music.sh <mp3 directory> <musicgen executable>
set -u

mp3dir=${1:?usage: tst_music.sh <mp3 directory> <musicgen executable>}
generator=${2:?usage: tst_music.sh <mp3 directory> <musicgen executable>}
tracks=(Universe Memories Playing_Together_With_You Playing_Around_The_World
        The_Adventure Civilization Farewell The_Stars_Shall_Never_Forget)

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }

# True when $1 lies within [$2, $3]; awk because bash has no floating point.
within() { awk -v x="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(x != "" && x >= lo && x <= hi) }'; }

# The second run of the generator goes on while the tracks are checked.
again=$(mktemp -d)
decoded=$(mktemp -d)
trap 'rm -rf "$again" "$decoded"' EXIT
again_tracks=(Playing_Together_With_You Civilization)
"$generator" "$again" "${again_tracks[@]/%/.mp3}" > /dev/null &
generating=$!

for name in "${tracks[@]}"; do
    f="$mp3dir/$name.mp3"
    if [ ! -s "$f" ]; then
        fail "$name.mp3: missing or empty in $mp3dir"
        continue
    fi
    # LAME's own decoder: it reads the Info tag's exact length and padding, as players do.
    wav="$decoded/$name.wav"
    kind=$(file -b "$f")
    if [[ "$kind" == *"layer III"* && "$kind" == *"44.1 kHz"* && "$kind" == *Stereo* ]]; then
        pass
    else
        fail "$name.mp3: not 44.1 kHz stereo MP3 ($kind)"
    fi

    # The Info tag in the first frame carries the exact length and encoder padding;
    # without it players estimate the duration.
    if head -c 200 "$f" | grep -a -q -E 'Info|Xing'; then pass; else fail "$name.mp3: no Info/Xing tag in the first frame"; fi

    # Decoding the whole file also proves it is not truncated or corrupt.
    if ! lame --decode --quiet "$f" "$wav" 2>"$wav.err" || [ -s "$wav.err" ]; then
        fail "$name.mp3: does not decode cleanly: $(tail -n 1 "$wav.err")"
        continue
    fi
    measures=$("$generator" --measure "$wav")
    rm -f "$wav" "$wav.err"
    value() { echo "$measures" | awk -v k="$1" '$1 == k { print $2 }'; }
    duration=$(value seconds)
    if within "$duration" 60 150; then pass; else fail "$name.mp3: duration ${duration:-unknown} s, want 60..150"; fi
    if [ "$(value rate)" = 44100 ] && [ "$(value channels)" = 2 ]; then pass; else fail "$name.mp3: decodes to $(value rate) Hz, $(value channels) channels"; fi
    lufs=$(value lufs)
    peak=$(value dbtp)
    if within "$lufs" -17.5 -14.5; then pass; else fail "$name.mp3: integrated loudness ${lufs:-unknown} LUFS, want -16 +-1.5"; fi
    if within "$peak" -200 -1.0; then pass; else fail "$name.mp3: true peak ${peak:-unknown} dBTP, want <= -1"; fi

    # The game restarts a track when it ends: it must fade in from silence and end in
    # silence, or the loop clicks (mean level of the first 2 ms and the last 50 ms).
    head=$(value head)
    tail=$(value tail)
    if within "$head" -200 -50; then pass; else fail "$name.mp3: starts at ${head:-unknown} dBFS, want a fade-in from below -50"; fi
    if within "$tail" -200 -50; then pass; else fail "$name.mp3: ends at ${tail:-unknown} dBFS, want below -50 for a clean loop"; fi
done

# Same generator, same bytes.
if wait "$generating"; then
    for name in "${again_tracks[@]}"; do
        if cmp -s "$mp3dir/$name.mp3" "$again/$name.mp3"; then
            pass
        else
            fail "$name.mp3: a second run of $generator wrote different bytes"
        fi
    done
    leftovers=$(find "$again" -type f ! -name '*.mp3')
    if [ -z "$leftovers" ]; then pass; else fail "temporary files left behind: $leftovers"; fi
else
    fail "$generator $again exited with an error"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
