#!/usr/bin/env bash
# Shaping the world, recorded: the middle button takes the grey ball to
# (400, 200) and holds it there; let go, it falls. The shape key draws a
# square at (550-650, 150-250); balls poured over it rest on it and none
# comes through; drawing again, the right button removes it and the balls
# fall. The recording of all this replays identical.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

rec=$E2E_TMP/shape.rec
E2E_ARGS=(--record "$rec")
e2e_launch
e2e_wait_started

# centre FILE R,G,B...: the mean position of the pixels of those colours and
# their count, as "X Y N".
centre() {
  local file=$1
  shift
  convert "$file" txt:- | awk -v colours="$*" '
    BEGIN { n = split(colours, c, " "); for (i = 1; i <= n; i++) want["(" c[i] ")"] = 1 }
    { split($1, at, /[,:]/); if ($2 in want) { x += at[1]; y += at[2]; count++ } }
    END { if (count) printf "%d %d %d\n", x / count, y / count, count; else print "0 0 0" }'
}
grey() { centre "$1" 127,127,127 128,128,128; }

# The grey ball lands among the others and may roll: it is found in the
# paused world, taken as the world runs again, and held still.
e2e_sleep 3
e2e_key_tap p
read -r x y n <<<"$(grey "$(e2e_shot landed)")"
[ "$n" -gt 600 ] || e2e_fail "the grey ball is not to be seen ($n pixels)"
# The press after the tick that resumes, which passes no input to the world.
xdotool mousemove "$x" "$y" keydown p
e2e_nap_ms 30
xdotool mousedown 2 keyup p
e2e_sleep 0.2
# Round the triangle: left of it, up, then right above it.
for to in "250 $y" "250 200" "400 200"; do
  read -r tx ty <<<"$to"
  for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((x + (tx - x) * step / 8)) $((y + (ty - y) * step / 8))
    e2e_sleep 0.05
  done
  x=$tx y=$ty
done
e2e_sleep 2
read -r hx hy n <<<"$(grey "$(e2e_shot held)")"
[ "$n" -gt 600 ] && [ $((hx - 400)) -le 5 ] && [ $((400 - hx)) -le 5 ] && [ $((hy - 200)) -le 5 ] &&
  [ $((200 - hy)) -le 5 ] || e2e_fail "held at (400, 200), the grey ball is at ($hx, $hy) ($n pixels)"
xdotool mouseup 2
e2e_sleep 1
read -r fx fy n <<<"$(grey "$(e2e_shot let-go)")"
[ "$fy" -gt 300 ] || e2e_fail "let go, the grey ball did not fall: at ($fx, $fy)"
e2e_log "ok: the grey ball was held at ($hx, $hy) and fell to ($fx, $fy) when let go"

# click X Y BUTTON: down, then up, each for as long as a key tap, so that a
# busy machine whose update thread misses a few ticks still sees the press
# (a press and a release taken in one tick are no press).
click() {
  xdotool mousemove "$1" "$2" mousedown "$3"
  e2e_sleep 0.2
  xdotool mouseup "$3"
  e2e_sleep 0.2
}

e2e_key_tap d
for corner in "550 150" "650 150" "650 250" "550 250"; do
  click $corner 1
done
e2e_key_tap d
orange=$(e2e_count_colour "$(e2e_shot square)" 255,128,0 101x101+550+150)
[ "$orange" -gt 9900 ] || e2e_fail "the square has $orange orange pixels"

# Poured onto the middle of the square from straight above: the balls stack
# in a column that stands on it (the world has no friction, and a column
# whose balls never move sideways never topples).
xdotool mousemove 600 60 mousedown 1
e2e_sleep 1
xdotool mouseup 1
e2e_sleep 1
on_top=0
for shot in resting still-resting; do
  on_top=$(e2e_count_colour "$(e2e_shot "$shot")" "$E2E_CYAN" 100x30+550+118)
  [ "$on_top" -gt 300 ] || e2e_fail "no balls rest on the square ($on_top cyan pixels above it)"
  e2e_sleep 0.5
done
second=$E2E_TMP/still-resting.png
below=$(e2e_count_colour "$second" "$E2E_CYAN" 50x60+575+260)
[ "$below" -eq 0 ] || e2e_fail "balls came through the square ($below cyan pixels under it)"
e2e_log "ok: balls poured over the square rest on it, none comes through"

e2e_key_tap d
click 600 200 3
e2e_key_tap d
e2e_sleep 1
gone=$(e2e_shot removed)
[ "$(e2e_count_colour "$gone" 255,128,0)" -eq 0 ] || e2e_fail "the square is still there"
[ "$(e2e_count_colour "$gone" "$E2E_CYAN" 100x30+550+118)" -lt "$on_top" ] ||
  e2e_fail "the balls on the removed square did not fall"
e2e_expect_out '^shape: nothing made: an obstacle needs three points that are not on one line$' 1
e2e_log "ok: the right button removed the square while drawing"

e2e_key_tap Escape
e2e_expect_orderly_end
E2E_ARGS=()
e2e_run_direct --replay "$rec" --headless
e2e_expect_status 0
e2e_expect_out '^replay: [0-9]+ ticks, identical$' 1
e2e_log "ok: the session replays identical: $(grep '^replay: [0-9]' "$E2E_OUT")"
