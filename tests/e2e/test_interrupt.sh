#!/usr/bin/env bash
# Ctrl-C ends the program at once with status 2, skipping the orderly
# shutdown.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

e2e_launch
e2e_wait_started
e2e_wait_line $'^ups:\t' 10
kill -INT "$E2E_PID"
e2e_wait_exit
e2e_expect_status 2
e2e_expect_err '^SIGINT caught$' 1
e2e_expect_no_out 'Thread Cleaning'
e2e_log "ok: interrupt while running"

# Held keys and buttons change nothing: the interrupt still wins.
e2e_launch
e2e_wait_started
xdotool keydown Escape mousedown 1
e2e_sleep 0.5
kill -INT "$E2E_PID"
e2e_wait_exit
xdotool keyup Escape mouseup 1
e2e_expect_status 2
e2e_expect_err '^SIGINT caught$' 1
e2e_expect_no_out 'Thread Cleaning'
e2e_log "ok: interrupt with the end key and the left button held"
