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

# The update thread is the first one the main thread starts. The second
# field of its schedstat is the time it spent ready to run but waiting for a
# processor: time other processes took away, which the program cannot help
# on a busy machine. Each report is judged on the seconds the thread had
# (on an idle machine: all of them).
update_tid=$(ls "/proc/$E2E_PID/task" | sort -n | sed -n 2p)
run_queue_ns() {
  awk '{ print $2 }' "/proc/$E2E_PID/task/$update_tid/schedstat"
}
now_ns() {
  date +%s%N
}

reports=$(e2e_ups_values | wc -l)
last_t=$(now_ns)
last_q=$(run_queue_ns)
first=1
judged=0
total=0
summary=
xdotool mousemove 20 20 mousedown 1
end=$((SECONDS + SWEEP_SECONDS))
x=20
step=20
while [ "$SECONDS" -lt "$end" ]; do
  x=$((x + step))
  if [ "$x" -ge 780 ] || [ "$x" -le 20 ]; then
    step=$((-step))
  fi
  xdotool mousemove "$x" 20
  sleep 0.05
  e2e_expect_alive "during the sweep"
  n=$(e2e_ups_values | wc -l)
  [ "$n" -gt "$reports" ] || continue
  t=$(now_ns)
  q=$(run_queue_ns)
  ups=$(e2e_ups_values | tail -n1)
  # The first report of the sweep covers time before it.
  if [ "$first" -eq 0 ] && [ "$n" -eq $((reports + 1)) ]; then
    # "rate ups/share": the rate is the ticks per second of processor time
    # the thread had; no rate when others took nearly all of it.
    verdict=$(awk -v ups="$ups" -v dq="$((q - last_q))" -v dt="$((t - last_t))" 'BEGIN {
      share = 1 - dq / dt
      printf "%d %d/%.0f%%\n", (share < 0.1 ? -1 : ups / share), ups, 100 * share }')
    rate=${verdict%% *}
    summary="$summary ${verdict#* }"
    if [ "$rate" -ge 0 ]; then
      [ "$rate" -ge "$FLOOR" ] || e2e_fail "a second with $rate ticks under load (ups/share of the processor:$summary)"
      judged=$((judged + 1))
      total=$((total + rate))
    fi
  fi
  first=0
  reports=$n
  last_t=$t
  last_q=$q
done
xdotool mouseup 1
[ "$judged" -ge 5 ] || e2e_fail "only $judged rate reports could be judged during the sweep ($summary)"
[ $((total / judged)) -ge "$LOW" ] || e2e_fail "$((total / judged)) ticks a second under load (ups/share of the processor:$summary)"
balls=$(e2e_count_colour "$(e2e_shot loaded)" "$E2E_CYAN")
[ "$balls" -gt 50000 ] || e2e_fail "only $balls cyan pixels after the sweep"
e2e_log "ok: $((total / judged)) ticks a second while adding balls (ups/share of the processor:$summary); $balls cyan pixels"

e2e_key_tap Escape
e2e_expect_orderly_end 30
e2e_log "ok: clean end after the load"
