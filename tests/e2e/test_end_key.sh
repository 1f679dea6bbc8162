#!/usr/bin/env bash
# The end key ends the program on release, not on press, with an orderly
# shutdown of both threads.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

more_reports_than() {
  [ "$(e2e_ups_values | wc -l)" -gt "$1" ]
}

e2e_launch
e2e_wait_started
xdotool keydown Escape
# Held across at least one more rate report: still running, not cleaning.
before=$(e2e_ups_values | wc -l)
e2e_poll 10 more_reports_than "$before" || e2e_fail "no rate report while Escape is held"
e2e_sleep 0.5
e2e_expect_alive "while Escape is held"
e2e_expect_no_out 'Thread Cleaning'
xdotool keyup Escape
e2e_expect_orderly_end
e2e_expect_no_err '.'
e2e_log "ok: Escape held keeps running, its release ends with status 0"
