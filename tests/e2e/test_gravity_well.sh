#!/usr/bin/env bash
# Space switches the gravity well on while held; f makes it follow the
# pointer. Until f is first held the well sits in the top-left corner.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# Cyan pixels in a region of a new screenshot; one small ball covers ~310.
TOP=800x180+0+0
TOP_LEFT=250x180+0+0
TOP_RIGHT=300x180+500+0
cyan_in() {
  e2e_count_colour "$(e2e_shot "$1")" "$E2E_CYAN" "$2"
}

top_empty() {
  [ "$(cyan_in top "$TOP")" -lt 400 ]
}

crowded() {
  [ "$(cyan_in crowded "$1")" -gt 2500 ]
}

e2e_launch
e2e_wait_started
e2e_poll 10 top_empty || e2e_fail "the starting scene did not fall below the top rows"

# The well alone pulls towards the corner, not to the pointer.
xdotool mousemove 650 100 keydown space
e2e_poll 15 crowded "$TOP_LEFT" || e2e_fail "the well did not pull balls into the top-left corner"
n=$(cyan_in corner "$TOP_RIGHT")
[ "$n" -lt 700 ] || e2e_fail "$n cyan pixels near the pointer while the well sits in the corner"
e2e_log "ok: space alone pulls balls to the corner"

# Holding f brings the well to the pointer, and the balls with it.
xdotool keydown f
e2e_poll 15 crowded "$TOP_RIGHT" || e2e_fail "the well did not pull balls to the pointer"
e2e_log "ok: space with f pulls balls to the pointer"

# Released, the well lets go (following alone pulls nothing) and the balls
# fall back.
xdotool keyup space
e2e_poll 15 top_empty || e2e_fail "the balls stayed near the top after the well was released"
xdotool keyup f
e2e_log "ok: releasing space switches the well off"

e2e_key_tap Escape
e2e_expect_orderly_end
