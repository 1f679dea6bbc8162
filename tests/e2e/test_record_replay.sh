#!/usr/bin/env bash
# A session recorded under xdotool input replays identical, with a window and
# without one; a recording named without an option replays in the window; a person can stop a replay; bad recordings and a recording
# that cannot be written get their messages. However a recording ends (the
# end key, the window closed, Ctrl-C, the display lost under the draw
# thread), it holds every tick that ran and replays identical; killed, it
# loses at most the last half second and replays as cut short.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# expect_identical FILE: the headless replay of FILE is identical.
expect_identical() {
  e2e_prepare
  e2e_run_direct --replay "$1" --headless
  e2e_expect_status 0
  e2e_expect_out '^replay: [0-9]+ ticks, identical$' 1
}

# record_for REPORTS FILE: a recording run, pouring balls, that has printed
# REPORTS tick rate reports.
record_for() {
  E2E_ARGS=(--record "$2")
  e2e_launch
  e2e_wait_started
  xdotool mousemove 300 100 mousedown 1
  e2e_poll 10 reports_at_least "$1" || e2e_fail "fewer than $1 tick rate reports"
  xdotool mouseup 1
}

reports_at_least() {
  [ "$(e2e_ups_values | wc -l)" -ge "$1" ]
}

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

# Named without an option, whatever its name, a recording replays in the
# window as with --replay.
e2e_prepare
cp "$E2E_REPO/tests/recordings/pour.rec" "$E2E_WORK/pour.scene"
E2E_ARGS=(pour.scene)
e2e_launch
e2e_wait_exit 60
e2e_expect_status 0
e2e_expect_out '^replay: [0-9]+ ticks, identical$' 1
e2e_expect_out '^Update Thread Cleaning$' 1
e2e_log "ok: ballpit FILE replays a recording in the window"

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

# Ctrl-C while recording: as prompt as without, and nothing lost.
record_for 1 "$E2E_TMP/interrupted.rec"
kill -INT "$E2E_PID"
e2e_wait_exit 1
e2e_expect_status 2
e2e_expect_err '^SIGINT caught$' 1
e2e_expect_no_out 'Thread Cleaning'
expect_identical "$E2E_TMP/interrupted.rec"
e2e_log "ok: a recording ended with Ctrl-C replays identical"

record_for 1 "$E2E_TMP/closed.rec"
e2e_close_window
e2e_expect_orderly_end
expect_identical "$E2E_TMP/closed.rec"
e2e_log "ok: a recording ended by closing the window replays identical"

# Killed: what the writer had synced, at most the last half second.
record_for 2 "$E2E_TMP/killed.rec"
kill -KILL "$E2E_PID"
e2e_wait_exit
ran=$(e2e_ups_values | awk '{ n += $1 } END { print n }')
e2e_prepare
e2e_run_direct --replay "$E2E_TMP/killed.rec" --headless
e2e_expect_status 1
e2e_expect_out '^replay: truncated after tick [0-9]+$' 1
kept=$(sed -n 's/^replay: truncated after tick \([0-9]*\)$/\1/p' "$E2E_OUT")
# A second of ticks, to leave the check no timing to judge but a lost flush.
[ "$kept" -ge $((ran - 100 * E2E_SCALE)) ] || e2e_fail "killed after $ran ticks or more, the recording kept $kept"
e2e_log "ok: a killed recording keeps $kept of more than $ran ticks and replays as cut short"

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

# The display lost under the draw thread: Xlib ends the program (status 1),
# after the recording has ended. Last: no display is left for another run.
record_for 1 "$E2E_TMP/display_lost.rec"
e2e_stop_pid "$E2E_XVFB_PID"
E2E_XVFB_PID=
e2e_wait_exit
e2e_expect_status 1
expect_identical "$E2E_TMP/display_lost.rec"
e2e_log "ok: a recording whose display was lost replays identical"
