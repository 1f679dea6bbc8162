#!/usr/bin/env bash
# Start-up order and the once-a-second rate report.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# The first report covers start-up, so five are tracked to judge four.
five_reports() {
  e2e_track_rates
  [ "${#E2E_RATES[@]}" -ge 5 ]
}

e2e_launch
e2e_wait_started
e2e_track_rates
e2e_poll 15 five_reports || e2e_fail "fewer than five rate reports"

startup=$(grep -vE $'^(fps|ups):\t' "$E2E_OUT")
expected=$'Graphics initialized\nWorld Created\nGame initialized\nInput initialized\nConfigs initialized\nInitialization Complete'
[ "$startup" = "$expected" ] || e2e_fail "start-up lines differ from the expected six, in order"

# After start-up only reports: pairs of a tab and a whole number, fps first.
awk 'done && NR % 2 != start % 2 && !/^fps:\t[0-9]+$/ { exit 1 }
     done && NR % 2 == start % 2 && !/^ups:\t[0-9]+$/ { exit 1 }
     /^Initialization Complete$/ { done = 1; start = NR }' "$E2E_OUT" ||
  e2e_fail "the reports are not pairs of fps and ups lines"

# Ticks run near 100 per second of processor time the machine leaves the
# program; a slow build only has to keep going.
low=80
[ "$E2E_SCALE" -eq 1 ] || low=1
for entry in "${E2E_RATES[@]:1}"; do
  read -r rate ups _ <<<"$entry"
  [ "$ups" -le 120 ] && { [ "$rate" -lt 0 ] || [ "$rate" -ge "$low" ]; } ||
    e2e_fail "ups outside $low..120 (ups/share of the processor:$(e2e_rates_summary))"
done
for fps in $(sed -n 's/^fps:\t\([0-9]*\)$/\1/p' "$E2E_OUT" | sed -n '2,5p'); do
  [ "$fps" -ge 1 ] && [ "$fps" -le 120 ] || e2e_fail "fps $fps outside 1..120"
done
e2e_log "ok: start-up lines in order, paired reports, ups/share:$(e2e_rates_summary)"

e2e_key_tap Escape
e2e_expect_orderly_end
