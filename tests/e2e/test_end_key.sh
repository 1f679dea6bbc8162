#!/usr/bin/env bash
# The end key ends the program on release, not on press, with an orderly
# shutdown of both threads.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

reports() {
  e2e_ups_values | wc -l
}

e2e_launch
e2e_wait_started
xdotool keydown Escape
# Held across at least one more rate report: still running, not cleaning.
before=$(reports)
e2e_poll 10 eval '[ "$(reports)" -gt "$before" ]' || e2e_fail "no rate report while Escape is held"
e2e_sleep 0.5
e2e_expect_alive "while Escape is held"
e2e_expect_no_out 'Thread Cleaning'
xdotool keyup Escape
e2e_wait_exit
e2e_expect_status 0
e2e_expect_out '^Update Thread Cleaning$' 1
e2e_expect_out '^Draw Thread Cleaning$' 1
e2e_expect_no_err '.'
e2e_log "ok: Escape held keeps running, its release ends with status 0"
