#!/usr/bin/env bash
# Rewinding, recorded: balls poured, one thrown with the middle button; the
# rewind key held takes the world back (the caption says how far) to the
# oldest tick kept, where it holds still and a line says why; let go, the
# world runs again from there and is poured on. The recording of it replays
# identical. --history 0 turns rewinding off, with a line; a bad --history is
# a usage error.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

cyan() { e2e_count_colour "$(e2e_shot "$1")" "$E2E_CYAN"; }

rec=$E2E_TMP/rewind.rec
E2E_ARGS=(--record "$rec")
e2e_launch
e2e_wait_started
start=$(cyan start)
xdotool mousemove 200 80 mousedown 1
for x in $(seq 200 40 600); do xdotool mousemove "$x" 80; e2e_sleep 0.04; done
xdotool mouseup 1
# The last ball poured lies under the pointer: thrown to the left.
xdotool mousedown 2
for x in $(seq 600 -40 200); do xdotool mousemove "$x" 150; e2e_sleep 0.03; done
xdotool mouseup 2
e2e_sleep 0.5
poured=$(cyan poured)
[ "$poured" -gt "$((start + 2000))" ] || e2e_fail "no balls poured: $start cyan pixels, then $poured"

xdotool keydown BackSpace
rewinding() { e2e_caption | grep -qE 'rewind -[0-9]+\.[0-9]{2} s'; }
e2e_poll 10 rewinding || e2e_fail "the caption does not say how far back: $(e2e_caption)"
e2e_wait_line '^rewind: the oldest tick kept, [0-9]+\.[0-9]{2} s back$' 30
e2e_expect_frozen oldest
back=$(cyan oldest)
# The pour undone: the starting scene's cyan (its balls have not fallen yet).
[ "$back" -lt "$((start + 500))" ] || e2e_fail "rewound, $back cyan pixels, against $start at the start"
e2e_log "ok: rewound to the oldest tick ($(e2e_caption)): $start, $poured, $back cyan pixels"
xdotool keyup BackSpace
e2e_expect_moving again
xdotool mousemove 300 80 mousedown 1
e2e_sleep 0.5
xdotool mouseup 1
e2e_key_tap Escape
e2e_expect_orderly_end
e2e_expect_out '^rewind: the oldest tick kept' 1

e2e_prepare
e2e_run_direct --replay "$rec" --headless
e2e_expect_status 0
e2e_expect_out '^replay: [0-9]+ ticks, identical$' 1
e2e_log "ok: the recording replays identical: $(grep '^replay: [0-9]* ticks' "$E2E_OUT")"

# Off: the key does nothing but say so, and the world runs on.
e2e_prepare
E2E_ARGS=(--history 0)
e2e_launch
e2e_wait_started
xdotool keydown BackSpace
e2e_wait_line '^rewind: off: the world keeps no history \(--history 0\)$' 10
e2e_expect_moving held-off
xdotool keyup BackSpace
e2e_key_tap Escape
e2e_expect_orderly_end
e2e_log "ok: --history 0 turns rewinding off"

for bad in -1 4097 99999999999 lots ''; do
  e2e_prepare
  e2e_run_direct --history "$bad"
  e2e_expect_status 64
  e2e_expect_err '^ballpit: --history (takes a whole number of MiB up to 4096|needs a number)' 1
done
e2e_log "ok: a bad --history is a usage error"
