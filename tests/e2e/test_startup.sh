#!/usr/bin/env bash
# Start-up order and the once-a-second rate report.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

five_reports() {
  [ "$(e2e_ups_values | wc -l)" -ge 5 ]
}

e2e_launch
e2e_wait_started
e2e_poll 15 five_reports || e2e_fail "fewer than five rate reports"

startup=$(grep -vE $'^(fps|ups):\t' "$E2E_OUT")
expected=$'Graphics initialized\nWorld Created\nGame initialized\nInput initialized\nConfigs initialized\nInitialization Complete'
[ "$startup" = "$expected" ] || e2e_fail "start-up lines differ from the expected six, in order"

# After start-up only reports: pairs of a tab and a whole number, fps first.
awk 'done && NR % 2 != start % 2 && !/^fps:\t[0-9]+$/ { exit 1 }
     done && NR % 2 == start % 2 && !/^ups:\t[0-9]+$/ { exit 1 }
     /^Initialization Complete$/ { done = 1; start = NR }' "$E2E_OUT" ||
  e2e_fail "the reports are not pairs of fps and ups lines"

# Ticks run near 100 per second. The first period can include start-up, so
# it is left out; a slow build only has to keep going.
low=80
[ "$E2E_SCALE" -eq 1 ] || low=10
for ups in $(e2e_ups_values | sed -n '2,5p'); do
  [ "$ups" -ge "$low" ] && [ "$ups" -le 120 ] || e2e_fail "ups $ups outside $low..120"
done
for fps in $(sed -n 's/^fps:\t\([0-9]*\)$/\1/p' "$E2E_OUT" | sed -n '2,5p'); do
  [ "$fps" -ge 1 ] && [ "$fps" -le 120 ] || e2e_fail "fps $fps outside 1..120"
done
e2e_log "ok: start-up lines in order, paired reports, ups near 100"

e2e_key_tap Escape
e2e_expect_orderly_end
