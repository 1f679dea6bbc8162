#!/usr/bin/env bash
# Twenty seconds of the left button held while the pointer sweeps across the
# top: some two thousand balls pile up, the ticks keep their pace, and the
# program still ends cleanly.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

SWEEP_SECONDS=20
# Ticks a second: at least LOW on average over the sweep, and no second
# below FLOOR. A slow build only has to keep going.
LOW=90
FLOOR=80
[ "$E2E_SCALE" -eq 1 ] || { LOW=1; FLOOR=1; }

e2e_launch
e2e_wait_started
e2e_wait_line $'^ups:\t' 10

e2e_track_rates
e2e_sweep_start
end=$((SECONDS + SWEEP_SECONDS))
while [ "$SECONDS" -lt "$end" ]; do
  e2e_sweep
  e2e_expect_alive "during the sweep"
  e2e_track_rates
done
xdotool mouseup 1

# The first report of the sweep covers time before it.
judged=0
total=0
for entry in "${E2E_RATES[@]:1}"; do
  read -r rate _ <<<"$entry"
  [ "$rate" -ge 0 ] || continue
  [ "$rate" -ge "$FLOOR" ] || e2e_fail "a second with $rate ticks under load (ups/share of the processor:$(e2e_rates_summary))"
  judged=$((judged + 1))
  total=$((total + rate))
done
[ "$judged" -ge 5 ] || e2e_fail "only $judged rate reports could be judged (ups/share of the processor:$(e2e_rates_summary))"
[ $((total / judged)) -ge "$LOW" ] || e2e_fail "$((total / judged)) ticks a second under load (ups/share of the processor:$(e2e_rates_summary))"
balls=$(e2e_count_colour "$(e2e_shot loaded)" "$E2E_CYAN")
[ "$balls" -gt 50000 ] || e2e_fail "only $balls cyan pixels after the sweep"
e2e_log "ok: $((total / judged)) ticks a second while adding balls (ups/share of the processor:$(e2e_rates_summary)); $balls cyan pixels"

e2e_key_tap Escape
e2e_expect_orderly_end 30
e2e_log "ok: clean end after the load"
