#!/usr/bin/env bash
# Closing the window (the request a window manager sends) ends the program
# like a release of the end key, whatever key that is and even while held.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

e2e_launch
e2e_wait_started
e2e_close_window
e2e_wait_end
e2e_expect_orderly_end
e2e_log "ok: close request ends with status 0 after $E2E_END_MS ms"

# With the end key bound elsewhere and held down, a close still ends it.
e2e_prepare
e2e_keyfile 'end = q'
e2e_launch
e2e_wait_started
xdotool keydown q
e2e_sleep 0.3
e2e_close_window
e2e_wait_end
e2e_expect_orderly_end
xdotool keyup q
e2e_log "ok: close request with the end key rebound and held ends after $E2E_END_MS ms"

# The X server kept from running while the request leaves, as on a busy
# machine: the request must still arrive. The script stops the server; it
# goes on a moment after it has stopped. A server that meets the request and
# the closed connection together may drop the request, or not: three times.
xvfb_stopped() {
  [ "$(awk '{ print $3 }' "/proc/$E2E_XVFB_PID/stat")" = T ]
}
for attempt in 1 2 3; do
  e2e_prepare
  e2e_launch
  e2e_wait_started
  (
    E2E_POLL_STEP=0.01 e2e_poll 30 xvfb_stopped || true
    e2e_sleep 0.3
    kill -CONT "$E2E_XVFB_PID"
  ) &
  E2E_CLOSE_STALL=$E2E_XVFB_PID e2e_close_window
  wait $!
  e2e_wait_end
  e2e_expect_orderly_end
  e2e_log "ok: close request $attempt sent while the X server stood still ends after $E2E_END_MS ms"
done
