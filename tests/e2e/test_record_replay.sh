#!/usr/bin/env bash
# A session recorded under xdotool input replays identical, with a window and
# without one; a person can stop a replay; bad recordings and a recording
# that cannot be written get their messages.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

rec=$E2E_TMP/session.rec
E2E_ARGS=(--record "$rec")
e2e_launch
e2e_wait_started
xdotool mousemove 200 80 mousedown 1
for x in $(seq 200 40 600); do xdotool mousemove "$x" 80; e2e_sleep 0.04; done
xdotool mouseup 1
e2e_key_tap p
e2e_key_tap n
e2e_key_tap p
xdotool keydown space keydown f mousemove 600 400
e2e_sleep 0.3
xdotool keyup f keyup space
e2e_key_tap r
e2e_key_tap Escape
e2e_expect_orderly_end
[ -s "$rec" ] || e2e_fail "no recording written"
e2e_log "ok: recorded $(stat -c %s "$rec") bytes"

E2E_ARGS=(--replay "$rec")
e2e_launch
e2e_wait_exit 60
e2e_expect_status 0
e2e_expect_out '^replay: [0-9]+ ticks, identical$' 1
e2e_expect_out '^Update Thread Cleaning$' 1
ticks=$(sed -n 's/^replay: \([0-9]*\) ticks, identical$/\1/p' "$E2E_OUT")
e2e_log "ok: the windowed replay is identical ($ticks ticks)"

e2e_prepare
e2e_run_direct --replay "$rec" --headless
e2e_expect_status 0
e2e_expect_out "^replay: $ticks ticks, identical\$" 1
e2e_expect_out '^replay: final hash [0-9a-f]{16}; [0-9]+ ticks in [0-9.]+ s, [0-9]+ ticks a second$' 1
e2e_log "ok: the headless replay is identical: $(tail -n1 "$E2E_OUT")"

# A person stops a replay with the end key.
E2E_ARGS=(--replay "$rec")
e2e_launch
e2e_wait_started
e2e_key_tap Escape
e2e_wait_exit 30
e2e_expect_status 0
e2e_expect_out '^replay: stopped after tick [0-9]+$' 1
e2e_log "ok: the end key stops a replay"

# expect_refused FILE TEXT: one line naming the fault, status 1.
expect_refused() {
  e2e_prepare
  e2e_run_direct --replay "$1" --headless
  e2e_expect_status 1
  [ "$(wc -l <"$E2E_ERR")" -eq 1 ] || e2e_fail "$1: expected one line on standard error"
  e2e_expect_err "$2" 1
}
: >"$E2E_TMP/empty.rec"
expect_refused "$E2E_TMP/empty.rec" 'is not a recording$'
expect_refused "$E2E_TMP" 'is a directory, not a recording$'
head -c 2000 /dev/urandom >"$E2E_TMP/random.rec"
expect_refused "$E2E_TMP/random.rec" 'is not a recording$'
e2e_log "ok: an empty file, a directory and random bytes are refused"

head -c $(($(stat -c %s "$rec") - 30)) "$rec" >"$E2E_TMP/cut.rec"
e2e_prepare
e2e_run_direct --replay "$E2E_TMP/cut.rec" --headless
e2e_expect_status 1
e2e_expect_out '^replay: truncated after tick [0-9]+$' 1
e2e_log "ok: a recording cut short replays what is there: $(grep truncated "$E2E_OUT")"

# A recording that cannot be written: said once, and the program goes on.
E2E_ARGS=(--record /dev/full)
e2e_launch
e2e_wait_started
e2e_sleep 1.5
e2e_expect_alive "after the recording failed"
e2e_key_tap Escape
e2e_expect_orderly_end
e2e_expect_err '^ballpit: recording to /dev/full stopped: ' 1
e2e_log "ok: a failed recording stops, the program goes on"
