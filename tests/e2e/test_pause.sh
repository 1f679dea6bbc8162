#!/usr/bin/env bash
# The pause key freezes the world and resumes it; the mouse still adds balls
# while paused, and they wait where they were put.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

e2e_launch
e2e_wait_started
e2e_expect_moving running

# Held down, the key pauses once; its release changes nothing.
xdotool keydown p
e2e_sleep 0.3
e2e_expect_frozen paused-held
xdotool keyup p
e2e_sleep 0.3
e2e_expect_frozen paused-released
shot=$(e2e_shot paused)
[ "$(e2e_count_colour "$shot" 0,0,0)" -lt 470000 ] || e2e_fail "the paused scene is not drawn"
e2e_log "ok: p pauses once, the scene stays drawn and still"

# A click while paused: a cyan ball at the pointer, standing still. The spot
# is one the frozen scene leaves empty.
spot=
for candidate in "700 40" "400 40" "100 300" "700 300"; do
  read -r x y <<<"$candidate"
  if [ "$(e2e_count_colour "$shot" 0,0,0 "40x40+$((x - 20))+$((y - 20))")" -eq 1600 ]; then
    spot=$candidate
    break
  fi
done
[ -n "$spot" ] || e2e_fail "no empty spot for the click"
read -r x y <<<"$spot"
xdotool mousemove "$x" "$y" mousedown 1
e2e_sleep 0.2
xdotool mouseup 1
e2e_sleep 0.3
clicked=$(e2e_shot clicked)
[ "$(e2e_pixel "$clicked" "$x" "$y")" = "$E2E_CYAN" ] || e2e_fail "no cyan ball at ($x,$y) after the click"
changed=$(e2e_diff "$shot" "$clicked")
[ "$changed" -gt 0 ] && [ "$changed" -le 400 ] ||
  e2e_fail "$changed pixels changed by the click, expected one ball's worth"
e2e_expect_frozen paused-clicked
e2e_log "ok: a click while paused adds a still cyan ball at ($x,$y)"

# Pressed again, the key resumes: the world moves and the new ball falls.
xdotool mousemove 400 300
e2e_key_tap p
e2e_expect_moving resumed
ball_left() {
  [ "$(e2e_pixel "$(e2e_shot falling)" "$x" "$y")" != "$E2E_CYAN" ]
}
e2e_poll 10 ball_left || e2e_fail "the clicked ball did not fall after resuming"
e2e_log "ok: p again resumes"

# Ending while paused is an ordinary end.
e2e_key_tap p
e2e_expect_frozen paused-again
e2e_key_tap Escape
e2e_expect_orderly_end
e2e_log "ok: Escape while paused ends with status 0"
