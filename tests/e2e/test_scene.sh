#!/usr/bin/env bash
# Scenes: every preset saved after 300 ticks and run on for 200 more gives
# the hash of 500 ticks at once, with no display; --scene list; bad files end
# the program with one line before any window opens; a scene named without an
# option starts the window as --scene does; the save key writes the
# world as it stands, which reads back to the recording's last hash; a
# recording started from a preset replays identical.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
# Headless runs read no key file: there is none here.
e2e_prepare --no-keyfile

# hash_of ARGS...: the world's hash of a headless run.
hash_of() {
  e2e_run_direct "$@"
  e2e_expect_status 0
  sed -n 's/^world: [0-9]* ticks, hash \([0-9a-f]\{16\}\)$/\1/p' "$E2E_OUT"
}

for preset in "$E2E_REPO"/scenes/*.scene; do
  # A sanitized build runs the world tens of times slower, and saving and
  # reading back is the same code for any number of balls: it takes the
  # presets of a few hundred.
  if [ "$E2E_SCALE" -gt 1 ] && [ "$(grep -c '^ball' "$preset")" -gt 500 ]; then
    continue
  fi
  whole=$(hash_of --scene "$preset" --headless --ticks 500)
  [ -n "$whole" ] || e2e_fail "no hash from $preset: $(cat "$E2E_OUT" "$E2E_ERR")"
  hash_of --scene "$preset" --headless --ticks 300 --save "$E2E_TMP/half.scene" >/dev/null
  [ "$(hash_of --scene "$E2E_TMP/half.scene" --headless --ticks 200)" = "$whole" ] ||
    e2e_fail "$(basename "$preset"): 300 ticks, saved, then 200 do not give the hash of 500 ($whole)"
done
e2e_log "ok: every preset saved after 300 ticks goes on to the hash of 500"

# A save that cannot be made: one line, status 1, and the device untouched.
e2e_run_direct --headless --ticks 1 --save /dev/null
e2e_expect_status 1
e2e_expect_err '^ballpit: cannot write /dev/null: not a regular file$' 1
[ -c /dev/null ] || e2e_fail "/dev/null is no longer a device"

# No scene anywhere (the working directory has no scenes/ yet): the list is
# empty, and says where it looked instead of passing for success.
e2e_run_direct --scene list
e2e_expect_status 0
[ ! -s "$E2E_OUT" ] || e2e_fail "--scene list without scenes printed: $(cat "$E2E_OUT")"
e2e_expect_err "^ballpit: no scenes found; looked in scenes, $XDG_DATA_HOME/ballpit/scenes" 1

# The presets under the working directory, and a saved scene of the user's.
mkdir -p "$E2E_WORK/scenes" "$XDG_DATA_HOME/ballpit/scenes"
cp "$E2E_REPO"/scenes/*.scene "$E2E_WORK/scenes/"
cp "$E2E_TMP/half.scene" "$XDG_DATA_HOME/ballpit/scenes/mine.scene"
e2e_run_direct --scene list
e2e_expect_status 0
[ "$(cut -f1 "$E2E_OUT" | tr '\n' ' ')" = "funnel lattice pachinko pile start mine " ] ||
  e2e_fail "--scene list printed: $(cat "$E2E_OUT")"
[ "$(hash_of --scene mine --headless --ticks 0)" = "$(hash_of --scene "$E2E_TMP/half.scene" --headless --ticks 0)" ] ||
  e2e_fail "--scene mine is not the saved scene"
[ "$(hash_of --scene start --headless --ticks 100)" = "$(hash_of --headless --ticks 100)" ] ||
  e2e_fail "the preset start is not the starting scene"
e2e_log "ok: --scene list shows the presets and the saved scene, each found by name"

# bad NAME TEXT REASON: a scene file of that text is refused with one line.
bad() {
  printf '%s' "$2" >"$E2E_TMP/$1"
  e2e_run_direct --scene "$E2E_TMP/$1"
  e2e_expect_status 1
  [ "$(cat "$E2E_ERR")" = "ballpit: $E2E_TMP/$1:$3" ] || e2e_fail "$1: '$(cat "$E2E_ERR")', expected ':$3'"
  [ ! -s "$E2E_OUT" ] || e2e_fail "$1: the program started: $(cat "$E2E_OUT")"
}
bad empty.scene "" "1: the file is empty, not a scene"
bad other.scene $'ballpit scene 9\n' "1: a scene of format version 9; this ballpit reads version 1"
bad colour.scene $'ballpit scene 1\nball 1 2 0 0 10 1 cPink\n' "2: unknown colour 'cPink'"
bad radius.scene $'ballpit scene 1\n\nball 1 2 0 0 0 1 cCyan\n' "3: the radius 0 is not above 0"
bad concave.scene $'ballpit scene 1\npolygon cRed 0 0 10 0 10 10 5 2 0 10\n' "2: the polygon is not convex"
head -c 3000 /dev/urandom >"$E2E_TMP/junk.scene"
e2e_run_direct --scene "$E2E_TMP/junk.scene"
e2e_expect_status 1
grep -qE "^ballpit: $E2E_TMP/junk.scene:1: " "$E2E_ERR" || e2e_fail "junk: $(cat "$E2E_ERR")"
for missing in "$E2E_TMP/none.scene" "$E2E_TMP"; do
  e2e_run_direct --scene "$missing"
  e2e_expect_status 1
  grep -qE "^ballpit: $missing:0: " "$E2E_ERR" || e2e_fail "$missing: $(cat "$E2E_ERR")"
done
e2e_run_direct --scene nowhere
e2e_expect_status 1
e2e_expect_err '^ballpit: nowhere:0: no such scene' 1
e2e_log "ok: bad scenes end the program with one line and status 1, before any window"

# Named without an option, a file is taken by its content: a scene named as a
# preset starts the window from the file, frame for frame as --scene does
# (a still one: two polygons); junk and a directory are refused with one
# line, before any window.
printf 'ballpit scene 1\npolygon cRed 100 500 300 500 200 350\npolygon cBlue 450 80 750 80 750 280 450 280\n' \
  >"$E2E_TMP/still"
# first_frame NAME ARGS...: a screenshot, $E2E_TMP/NAME.png, of the window ARGS
# start in a working directory holding that scene as ./pile.
first_frame() {
  local name=$1
  shift
  e2e_prepare
  cp "$E2E_TMP/still" "$E2E_WORK/pile"
  E2E_ARGS=("$@")
  e2e_launch
  e2e_wait_started
  e2e_shot "$name" >/dev/null
  e2e_key_tap Escape
  e2e_expect_orderly_end
  E2E_ARGS=()
}
first_frame opened pile
first_frame named --scene "$E2E_TMP/still"
[ "$(e2e_diff "$E2E_TMP/opened.png" "$E2E_TMP/named.png")" -eq 0 ] ||
  e2e_fail "ballpit FILE does not start from the scene --scene FILE does"
printf 'ballpit saw\n' >"$E2E_TMP/junk"
for refused in "$E2E_TMP/junk" "$E2E_TMP"; do
  e2e_run_direct "$refused"
  e2e_expect_status 1
  [ "$(wc -l <"$E2E_ERR")" -eq 1 ] || e2e_fail "$refused: $(cat "$E2E_ERR")"
  [ ! -s "$E2E_OUT" ] || e2e_fail "$refused: the program started: $(cat "$E2E_OUT")"
  e2e_expect_err "^ballpit: $refused is (neither|a directory, not)" 1
done
e2e_log "ok: ballpit FILE starts from a scene as --scene FILE does; junk and a directory are refused"

# The save key while paused: the saved world is the one the recording ends
# with. A second save into a directory that cannot be written fails with a
# line, and the program goes on.
rec=$E2E_TMP/saved.rec
E2E_ARGS=(--record "$rec")
e2e_launch
e2e_wait_started
xdotool mousemove 300 100 mousedown 1
e2e_sleep 0.5
xdotool mouseup 1
e2e_key_tap p
e2e_key_tap F5
e2e_poll 5 e2e_has_line '^saved: ' || e2e_fail "no line 'saved: PATH' after F5"
saved=$(sed -n 's/^saved: //p' "$E2E_OUT")
case $saved in "$XDG_DATA_HOME"/ballpit/scenes/*.scene) ;; *) e2e_fail "saved to $saved" ;; esac
# A file where the directory should be (root writes into any directory).
mv "$XDG_DATA_HOME/ballpit/scenes" "$XDG_DATA_HOME/ballpit/kept"
touch "$XDG_DATA_HOME/ballpit/scenes"
e2e_key_tap F5
e2e_poll 5 grep -q '^ballpit: cannot save the world in ' "$E2E_ERR" ||
  e2e_fail "no line for a save that cannot be written: $(cat "$E2E_ERR")"
rm "$XDG_DATA_HOME/ballpit/scenes"
mv "$XDG_DATA_HOME/ballpit/kept" "$XDG_DATA_HOME/ballpit/scenes"
e2e_expect_alive
e2e_key_tap Escape
e2e_expect_orderly_end
E2E_ARGS=()
saves=$(ls "$XDG_DATA_HOME/ballpit/scenes" | wc -l)
e2e_run_direct --replay "$rec" --headless
e2e_expect_out '^replay: [0-9]+ ticks, identical$' 1
# The recorded F5 presses save nothing again.
[ "$(ls "$XDG_DATA_HOME/ballpit/scenes" | wc -l)" -eq "$saves" ] || e2e_fail "the replay saved scenes"
final=$(sed -n 's/^replay: final hash \([0-9a-f]*\);.*/\1/p' "$E2E_OUT")
[ "$(hash_of --scene "$saved" --headless --ticks 0)" = "$final" ] ||
  e2e_fail "the saved scene is not the world the recording ends with ($final)"
e2e_log "ok: F5 saved the paused world to $(basename "$saved"); an unwritable save was reported"

# A recording started from a preset carries it: the replay needs nothing else.
rec=$E2E_TMP/funnel.rec
E2E_ARGS=(--scene "$E2E_REPO/scenes/funnel.scene" --record "$rec")
e2e_launch
e2e_wait_started
xdotool mousemove 400 60 mousedown 1
e2e_sleep 0.5
xdotool mouseup 1
e2e_sleep 1
e2e_key_tap Escape
e2e_expect_orderly_end
E2E_ARGS=()
rm -rf "$E2E_WORK/scenes"
e2e_run_direct --replay "$rec" --headless
e2e_expect_status 0
e2e_expect_out '^replay: [0-9]+ ticks, identical$' 1
e2e_log "ok: a recording started from the funnel replays identical"
