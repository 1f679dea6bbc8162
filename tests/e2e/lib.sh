# Harness for the end-to-end tests: sourced by tests/e2e/test_*.sh (and by
# scripts/run). It runs the real program on a private Xvfb, in a scratch
# working directory with its own key file, and drives it with xdotool.
#
#   source tests/e2e/lib.sh
#   e2e_init "$@"              # $1: the program; starts the private display
#                              # (not with a second argument --no-display)
#   e2e_launch                 # a new run: scratch dir, copy of configs/keys.cfg
#   e2e_wait_started           # start-up lines printed, pointer in the window
#   ...input, screenshots, e2e_expect_* ...
#   e2e_key_tap Escape; e2e_expect_orderly_end
#
# Environment:
#   BALLPIT_E2E_SLOW     1 multiplies every timeout and pause by 4; a number
#                        N >= 2 by N. For sanitizer builds and loaded machines.
#   BALLPIT_E2E_WRAPPER  command words put before the program (e.g.
#                        "valgrind -q"); the wrapper must run the program in
#                        its own process, so that signals reach it.
#   XDG_CONFIG_HOME      set to an empty scratch directory for the program.
#   XDG_DATA_HOME        likewise: where saved scenes go.
#   Everything else (ASAN_OPTIONS, TSAN_OPTIONS, ...) is passed through.

E2E_REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
E2E_NAME=$(basename "$0" .sh)
E2E_TMP=
E2E_XVFB_PID=
E2E_PID=
E2E_STATUS=
E2E_RUN=0
E2E_WORK=
E2E_OUT=
E2E_ERR=
E2E_SCALE=1
E2E_BINARY=
E2E_WRAPPER=()
# Arguments put after the program, for the runs launched from now on.
E2E_ARGS=()
E2E_NAP_FD=
# How often e2e_poll tries; set it for one call (E2E_POLL_STEP=0.005 e2e_poll
# ...) to poll finely.
E2E_POLL_STEP=0.1

e2e_log() {
  echo "$E2E_NAME: $*"
}

# Prints the program's output of the current run, then ends the script.
e2e_fail() {
  echo "$E2E_NAME: FAIL: $*" >&2
  if [ -n "$E2E_OUT" ]; then
    echo "---- standard output of run $E2E_RUN ($E2E_WORK)" >&2
    cat "$E2E_OUT" >&2 2>/dev/null || true
    echo "---- standard error of run $E2E_RUN" >&2
    cat "$E2E_ERR" >&2 2>/dev/null || true
    echo "----" >&2
  fi
  exit 1
}

e2e_cleanup() {
  local status=$?
  if [ -n "$E2E_PID" ]; then
    e2e_stop_pid "$E2E_PID"
  fi
  if [ -n "$E2E_XVFB_PID" ]; then
    e2e_stop_pid "$E2E_XVFB_PID"
  fi
  if [ -n "$E2E_TMP" ]; then
    if [ "$status" -ne 0 ] && [ -n "${BALLPIT_E2E_KEEP:-}" ]; then
      echo "$E2E_NAME: files kept in $E2E_TMP" >&2
    else
      rm -rf "$E2E_TMP"
    fi
  fi
  exit "$status"
}

# Ends one process this harness started: politely, then for good.
e2e_stop_pid() {
  local pid=$1 i
  kill -TERM "$pid" 2>/dev/null || return 0
  for i in $(seq 30); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

# Prints seconds scaled by the slowness factor (fractions allowed).
e2e_scaled() {
  awk -v s="$1" -v f="$E2E_SCALE" 'BEGIN { print s * f }'
}

e2e_sleep() {
  sleep "$(e2e_scaled "$1")"
}

# The helpers below start no process, so that they can run every few
# milliseconds. e2e_now_us NAME: the time in microseconds, into NAME.
e2e_now_us() {
  printf -v "$1" '%s' "${EPOCHREALTIME/./}"
}

# e2e_scaled_us SECONDS NAME: seconds (a decimal fraction allowed) scaled by
# the slowness factor, in microseconds, into NAME.
e2e_scaled_us() {
  local whole=${1%%.*} fraction=000000
  [[ $1 != *.* ]] || fraction=${1#*.}000000
  printf -v "$2" '%d' $(((10#${whole:-0} * 1000000 + 10#${fraction:0:6}) * E2E_SCALE))
}

# e2e_nap SECONDS: sleeps, unscaled, by waiting for input that never comes.
e2e_nap() {
  read -r -t "$1" -u "$E2E_NAP_FD" _ || true
}

e2e_nap_ms() {
  local seconds
  printf -v seconds '%d.%03d' $(($1 / 1000)) $(($1 % 1000))
  e2e_nap "$seconds"
}

# e2e_poll SECONDS COMMAND...: runs COMMAND every E2E_POLL_STEP seconds until
# it succeeds; fails (returns 1) once the scaled time is up. The command is
# always tried at least once.
e2e_poll() {
  local limit start now
  e2e_scaled_us "$1" limit
  shift
  e2e_now_us start
  while :; do
    "$@" && return 0
    e2e_now_us now
    [ $((now - start)) -lt "$limit" ] || return 1
    e2e_nap "$E2E_POLL_STEP"
  done
}

# e2e_seed [SEED]: seeds $RANDOM with SEED, or with a new seed, which then
# goes to E2E_SEED for the log (the same seed replays the same run).
e2e_seed() {
  E2E_SEED=${1:-$((($$ ^ EPOCHSECONDS) % 32768))}
  RANDOM=$E2E_SEED
}

e2e_init() {
  [ $# -ge 1 ] || { echo "usage: $0 <path of ballpit>" >&2; exit 2; }
  E2E_BINARY=$(realpath "$1")
  [ -x "$E2E_BINARY" ] || { echo "$0: no program at $1" >&2; exit 2; }
  case "${BALLPIT_E2E_SLOW:-}" in
    "" | 0) E2E_SCALE=1 ;;
    1) E2E_SCALE=4 ;;
    *[!0-9]*) echo "$0: BALLPIT_E2E_SLOW must be a whole number" >&2; exit 2 ;;
    *) E2E_SCALE=$BALLPIT_E2E_SLOW ;;
  esac
  read -r -a E2E_WRAPPER <<<"${BALLPIT_E2E_WRAPPER:-}"
  # Read-write, the pipe never ends: e2e_nap waits on it.
  exec {E2E_NAP_FD}<> <(:)
  E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/ballpit-e2e.XXXXXX")
  trap e2e_cleanup EXIT
  # The program also looks for the user's key file: point it at a directory
  # that holds none, so a developer's own file never changes an outcome.
  export XDG_CONFIG_HOME="$E2E_TMP/config-home"
  # And the saved scenes go to, and are found in, the test's own directory.
  export XDG_DATA_HOME="$E2E_TMP/data-home"
  trap 'exit 130' INT TERM
  if [ "${2:-}" != --no-display ]; then
    e2e_start_xvfb
  fi
}

e2e_display_ready() {
  grep -q '^[0-9][0-9]*$' "$E2E_TMP/display"
}

# A private 800x600 screen: the program's window sits at (0,0), so window
# and screen coordinates agree. Xvfb picks a free display number itself.
e2e_start_xvfb() {
  : >"$E2E_TMP/display"
  Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset \
    3>"$E2E_TMP/display" >"$E2E_TMP/xvfb.log" 2>&1 &
  E2E_XVFB_PID=$!
  if ! e2e_poll 20 e2e_display_ready; then
    cat "$E2E_TMP/xvfb.log" >&2
    e2e_fail "Xvfb did not report a display"
  fi
  export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
  unset XAUTHORITY
}

# e2e_prepare [--no-keyfile]: a fresh working directory for the next run,
# holding a copy of the repository's key file unless told otherwise.
e2e_prepare() {
  E2E_RUN=$((E2E_RUN + 1))
  E2E_WORK="$E2E_TMP/run$E2E_RUN"
  E2E_OUT="$E2E_WORK.stdout"
  E2E_ERR="$E2E_WORK.stderr"
  E2E_STATUS=
  mkdir -p "$E2E_WORK"
  if [ "${1:-}" != --no-keyfile ]; then
    mkdir -p "$E2E_WORK/configs"
    cp "$E2E_REPO/configs/keys.cfg" "$E2E_WORK/configs/keys.cfg"
  fi
}

# Replaces the key file of the prepared run with the given lines.
e2e_keyfile() {
  mkdir -p "$E2E_WORK/configs"
  printf '%s\n' "$@" >"$E2E_WORK/configs/keys.cfg"
}

# Starts the program in the prepared working directory (prepares a default
# one if none is pending). Extra arguments go before the program, like
# `env -u DISPLAY`.
e2e_launch() {
  [ -n "$E2E_PID" ] && e2e_fail "a run is still going on"
  if [ -z "$E2E_WORK" ] || [ -n "$E2E_STATUS" ]; then
    e2e_prepare
  fi
  # Made first: the background shell may open them after the first poll.
  : >"$E2E_OUT"
  : >"$E2E_ERR"
  (cd "$E2E_WORK" && exec "$@" "${E2E_WRAPPER[@]}" "$E2E_BINARY" "${E2E_ARGS[@]}") \
    >"$E2E_OUT" 2>"$E2E_ERR" </dev/null &
  E2E_PID=$!
}

# e2e_run_direct ARGS...: a run of the program to its end in the prepared
# working directory, without a display and without waiting for a window (for
# options that open none); E2E_STATUS, E2E_OUT and E2E_ERR as for a launch.
e2e_run_direct() {
  E2E_STATUS=0
  (cd "$E2E_WORK" && exec env -u DISPLAY "${E2E_WRAPPER[@]}" "$E2E_BINARY" "$@") \
    >"$E2E_OUT" 2>"$E2E_ERR" </dev/null || E2E_STATUS=$?
}

e2e_running() {
  [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null
}

# Whether the program (not the shell that starts it) has its SIGINT handler
# in place: it catches signal 2.
e2e_handler_installed() {
  local comm key value
  read -r comm <"/proc/$E2E_PID/comm" 2>/dev/null || return 1
  [ "$comm" = "$(basename "$E2E_BINARY" | cut -c1-15)" ] || return 1
  while read -r key value; do
    if [ "$key" = SigCgt: ]; then
      (((16#$value >> 1) & 1)) && return 0
      return 1
    fi
  done <"/proc/$E2E_PID/status"
  return 1
}

# e2e_interrupt_on_line REGEX: sends SIGINT the moment the program prints a
# line matching REGEX (or gives up after 10 s). The output is read in a busy
# loop of builtins, so that no process starts between the line and the signal.
e2e_interrupt_on_line() {
  E2E_POLL_STEP=0 e2e_poll 10 e2e_interrupt_if_line "$1" || true
}

e2e_interrupt_if_line() {
  local lines line
  e2e_running || return 0
  mapfile -t lines <"$E2E_OUT"
  for line in "${lines[@]}"; do
    if [[ $line =~ $1 ]]; then
      kill -INT "$E2E_PID" 2>/dev/null || true
      return 0
    fi
  done
  return 1
}

e2e_has_line() {
  grep -qE "$1" "$E2E_OUT"
}

# e2e_wait_line REGEX [SECONDS]: waits for a line of standard output; fails
# early if the program ends without printing it.
e2e_wait_line() {
  local pattern=$1 limit=${2:-10}
  e2e_poll "$limit" e2e_line_or_gone "$pattern" || e2e_fail "no line matching '$pattern' within $(e2e_scaled "$limit") s"
  e2e_has_line "$pattern" || e2e_fail "the program ended without a line matching '$pattern'"
}

e2e_line_or_gone() {
  e2e_has_line "$1" || ! e2e_running
}

# Waits for start-up to finish and the first frame to show, and puts the
# pointer into the window, where keyboard input goes (there is no window
# manager to give focus).
e2e_wait_started() {
  e2e_wait_line '^Initialization Complete$' 30
  e2e_poll 10 e2e_drawn || e2e_fail "the window stayed black"
  xdotool mousemove 400 300
}

e2e_drawn() {
  [ "$(e2e_count_colour "$(e2e_shot first-frame)" 0,0,0)" -lt 480000 ]
}

# e2e_wait_exit [SECONDS]: waits for the program to end; E2E_STATUS is then
# its exit status. Sanitizer reports on standard error fail the test.
e2e_wait_exit() {
  local limit=${1:-10}
  e2e_poll "$limit" e2e_gone || e2e_fail "the program did not end within $(e2e_scaled "$limit") s"
  E2E_STATUS=0
  wait "$E2E_PID" || E2E_STATUS=$?
  E2E_PID=
  if grep -qE 'ERROR: (Address|Leak|Memory)Sanitizer|WARNING: ThreadSanitizer|runtime error:' "$E2E_ERR"; then
    e2e_fail "sanitizer report on standard error"
  fi
}

e2e_gone() {
  ! e2e_running
}

# e2e_asked: notes the moment the program was asked to end (e2e_close_window
# notes its request itself). e2e_wait_end [SECONDS] then waits for the end as
# e2e_wait_exit does, but polling every 5 ms, and puts the milliseconds from
# the note to the end into E2E_END_MS.
e2e_asked() {
  e2e_now_us E2E_ASKED_US
}

e2e_wait_end() {
  local limit=${1:-10} now
  E2E_POLL_STEP=0.005 e2e_poll "$limit" e2e_gone || e2e_fail "the program did not end within $(e2e_scaled "$limit") s"
  e2e_now_us now
  E2E_END_MS=$(((now - E2E_ASKED_US) / 1000))
  e2e_wait_exit
}

# e2e_expect_orderly_end [SECONDS]: the program ends (unless it has been seen
# to end already) with status 0 after both threads have cleaned up.
e2e_expect_orderly_end() {
  [ -z "$E2E_PID" ] || e2e_wait_exit "$@"
  e2e_expect_status 0
  e2e_expect_out '^Update Thread Cleaning$' 1
  e2e_expect_out '^Draw Thread Cleaning$' 1
}

e2e_expect_status() {
  [ "$E2E_STATUS" = "$1" ] || e2e_fail "exit status $E2E_STATUS, expected $1"
}

e2e_expect_alive() {
  e2e_running || e2e_fail "the program ended: $1"
}

# e2e_expect_out / e2e_expect_err REGEX [COUNT]: the pattern matches COUNT
# lines (at least one when no count is given); e2e_expect_no_* match none.
e2e_expect_out() { e2e_expect_lines "$E2E_OUT" "standard output" "$@"; }
e2e_expect_err() { e2e_expect_lines "$E2E_ERR" "standard error" "$@"; }
e2e_expect_no_out() { e2e_expect_lines "$E2E_OUT" "standard output" "$1" 0; }
e2e_expect_no_err() { e2e_expect_lines "$E2E_ERR" "standard error" "$1" 0; }

e2e_expect_lines() {
  local file=$1 what=$2 pattern=$3 count=${4:-} found
  found=$(grep -cE "$pattern" "$file" || true)
  if [ -z "$count" ]; then
    [ "$found" -ge 1 ] || e2e_fail "no line matching '$pattern' on $what"
  else
    [ "$found" -eq "$count" ] || e2e_fail "$found lines matching '$pattern' on $what, expected $count"
  fi
}

# Input. A key is held long enough to be seen by at least one frame and one
# tick, so the program sees a press and, later, a release.
e2e_key_tap() {
  xdotool keydown "$1"
  e2e_sleep 0.2
  xdotool keyup "$1"
  e2e_sleep 0.2
}

# The window-close request that a window manager sends when the user clicks
# the close button; exactly one window must take it. The system Python, which
# the Debian package python3-xlib extends.
e2e_close_window() {
  local asked
  asked=$(/usr/bin/python3 "$E2E_REPO/tests/e2e/close_window.py") || e2e_fail "could not send the close request"
  e2e_asked
  [ "$asked" -eq 1 ] || e2e_fail "$asked windows take a close request, expected 1"
}

# The pointer sweeping along the top of the window with the left button held,
# as when pouring balls: e2e_sweep_start presses it at the left end, each
# e2e_sweep moves it a step on, turning at either end, and waits 50 ms.
e2e_sweep_start() {
  E2E_SWEEP_X=20
  E2E_SWEEP_STEP=20
  xdotool mousemove "$E2E_SWEEP_X" 20 mousedown 1
}

e2e_sweep() {
  E2E_SWEEP_X=$((E2E_SWEEP_X + E2E_SWEEP_STEP))
  if [ "$E2E_SWEEP_X" -ge 780 ] || [ "$E2E_SWEEP_X" -le 20 ]; then
    E2E_SWEEP_STEP=$((-E2E_SWEEP_STEP))
  fi
  xdotool mousemove "$E2E_SWEEP_X" 20
  e2e_nap 0.05
}

# The program's window caption ("ballpit: ..." once the first report is in).
e2e_caption() {
  xdotool search --name '^ballpit' getwindowname 2>/dev/null | head -n1
}

# Screenshots and pixels. e2e_shot NAME prints the path of a new PNG of the
# whole screen.
e2e_shot() {
  local file="$E2E_TMP/$1.png"
  import -window root "$file" || e2e_fail "screenshot $1 failed"
  echo "$file"
}

# The colour of the mouse balls and of the diagonal row, as e2e_pixel prints it.
E2E_CYAN=0,255,255

# e2e_pixel FILE X Y prints the colour as "R,G,B" (0..255).
e2e_pixel() {
  convert "$1" -format "%[pixel:p{$2,$3}]" info: | sed -E 's/^s?rgba?\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/'
}

# e2e_count_colour FILE R,G,B [WxH+X+Y] prints how many pixels (of the region)
# have exactly that colour.
e2e_count_colour() {
  local file=$1 colour="rgb($2)" crop=()
  [ -n "${3:-}" ] && crop=(-crop "$3" +repage)
  # Others go to a stand-in colour first, so that black can be counted too.
  convert "$file" "${crop[@]}" -fill 'rgb(1,2,3)' +opaque "$colour" -fill white -opaque "$colour" \
    -fill black -opaque 'rgb(1,2,3)' -format '%[fx:round(mean*w*h)]' info:
}

# e2e_diff A B prints the number of pixels that differ.
e2e_diff() {
  local count status=0
  # compare answers 1 for "different"; only 2 and more are errors.
  count=$(compare -metric AE "$1" "$2" null: 2>&1) || status=$?
  [ "$status" -le 1 ] || e2e_fail "compare $1 $2: $count"
  awk -v n="$count" 'BEGIN { printf "%d\n", n }'
}

# e2e_expect_frozen NAME / e2e_expect_moving NAME: two screenshots some
# time apart are identical (paused) or differ (running).
e2e_expect_frozen() {
  [ "$(e2e_motion "$1")" -eq 0 ] || e2e_fail "$1: the scene moved, expected it paused"
}

e2e_expect_moving() {
  [ "$(e2e_motion "$1")" -gt 0 ] || e2e_fail "$1: the scene stood still, expected it running"
}

e2e_motion() {
  local a b
  a=$(e2e_shot "$1-a")
  e2e_sleep 0.5
  b=$(e2e_shot "$1-b")
  e2e_diff "$a" "$b"
}

# Rate reports: the numbers of the "ups:" lines, one a line.
e2e_ups_values() {
  sed -n 's/^ups:\t\([0-9]*\)$/\1/p' "$E2E_OUT"
}

# Tick rates fair to a busy machine. e2e_track_rates, called often while the
# program runs (not in a subshell), appends "RATE UPS SHARE" to E2E_RATES for
# every new report: SHARE is the percentage of the report's second in which
# the update thread was not kept waiting for a processor by other processes,
# RATE the ticks per second of that time (-1 when the share is below 10 %).
# On an idle machine SHARE is 100 and RATE equals UPS. The first call only
# starts the tracking.
E2E_RATES=()
E2E_RATE_SEEN=
e2e_track_rates() {
  local n t q
  n=$(e2e_ups_values | wc -l)
  if [ -z "$E2E_RATE_SEEN" ]; then
    # The update thread is the first one the main thread starts.
    E2E_RATE_TID=$(ls "/proc/$E2E_PID/task" | sort -n | sed -n 2p)
  elif [ "$n" -le "$E2E_RATE_SEEN" ]; then
    return 0
  fi
  t=$(date +%s%N)
  # The second field: nanoseconds spent ready to run, waiting for a processor.
  q=$(awk '{ print $2 }' "/proc/$E2E_PID/task/$E2E_RATE_TID/schedstat")
  if [ -n "$E2E_RATE_SEEN" ] && [ "$n" -eq $((E2E_RATE_SEEN + 1)) ]; then
    E2E_RATES+=("$(awk -v ups="$(e2e_ups_values | tail -n1)" -v dq="$((q - E2E_RATE_Q))" \
      -v dt="$((t - E2E_RATE_T))" 'BEGIN {
        share = 1 - dq / dt
        printf "%d %d %.0f\n", (share < 0.1 ? -1 : ups / share), ups, 100 * share }')")
  fi
  E2E_RATE_SEEN=$n
  E2E_RATE_T=$t
  E2E_RATE_Q=$q
}

# "UPS/SHARE%" of every tracked report, for messages.
e2e_rates_summary() {
  local entry ups share
  for entry in "${E2E_RATES[@]}"; do
    read -r _ ups share <<<"$entry"
    printf ' %s/%s%%' "$ups" "$share"
  done
}
