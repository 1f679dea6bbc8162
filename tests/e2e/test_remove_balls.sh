#!/usr/bin/env bash
# The right button removes the mouse balls, oldest first, starting with the
# diagonal row of the starting scene; the eight start balls and the triangle
# stay.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# The one cyan start ball (radius 20) covers fewer pixels than this; the
# fifty diagonal balls cover far more.
ONE_START_BALL=1400

cyan_count() {
  e2e_count_colour "$(e2e_shot "$1")" "$E2E_CYAN"
}

only_start_ball_left() {
  local n
  n=$(cyan_count removing)
  [ "$n" -gt 500 ] && [ "$n" -lt "$ONE_START_BALL" ]
}

e2e_launch
e2e_wait_started
before=$(cyan_count start)
[ "$before" -gt $((ONE_START_BALL * 2)) ] || e2e_fail "only $before cyan pixels at start"

# Held for well over fifty ticks, then on with an empty queue.
xdotool mousemove 780 20 mousedown 3
e2e_poll 10 only_start_ball_left || e2e_fail "the diagonal balls were not all removed"
e2e_sleep 0.5
xdotool mouseup 3
after=$(e2e_shot after)
n=$(e2e_count_colour "$after" "$E2E_CYAN")
[ "$n" -gt 500 ] && [ "$n" -lt "$ONE_START_BALL" ] || e2e_fail "$n cyan pixels, expected only the start ball"
[ "$(e2e_count_colour "$after" 255,0,0 100x100+400+400)" -eq 10000 ] || e2e_fail "the triangle is not intact"
for colour in 255,255,255 0,255,0 0,0,255 255,255,0 255,0,255; do
  [ "$(e2e_count_colour "$after" "$colour")" -gt 500 ] || e2e_fail "the start ball of colour $colour is gone"
done
e2e_log "ok: right button removed the diagonal ($before cyan pixels, then $n), the rest stays"

# Added balls go the same way, first in, first out; paused, so that they
# stay where they were put. A few balls go to the left spot, then many more
# to the right one (enough to outlast the polling below): the left spot
# empties first.
e2e_key_tap p
xdotool mousemove 200 100 mousedown 1
e2e_sleep 0.1
xdotool mousemove 600 100
e2e_sleep 3
xdotool mouseup 1 mousemove 780 20
added=$(e2e_shot added)
[ "$(e2e_pixel "$added" 200 100)" = "$E2E_CYAN" ] && [ "$(e2e_pixel "$added" 600 100)" = "$E2E_CYAN" ] ||
  e2e_fail "the two added groups are not both at their places"
first_gone() {
  [ "$(e2e_pixel "$(e2e_shot removing-added)" 200 100)" != "$E2E_CYAN" ]
}
xdotool mousedown 3
e2e_poll 5 first_gone || e2e_fail "the first added balls were not removed"
xdotool mouseup 3
left=$(e2e_shot left)
[ "$(e2e_pixel "$left" 600 100)" = "$E2E_CYAN" ] || e2e_fail "the later added balls went first"
e2e_log "ok: added balls are removed oldest first"

e2e_key_tap Escape
e2e_expect_orderly_end
