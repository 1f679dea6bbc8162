#!/usr/bin/env bash
# A short run of the start/stop faults (`make check` runs the long one): the
# end key from start-up on, as the frame loop begins and after some play, each
# ending with status 0 and both cleaning lines; Ctrl-C at random moments of
# start-up, play and shutdown, each ending with status 2.
set -euo pipefail
# Under ctest the machine is shared with another test, so the one-second
# limits are doubled here (sanitizer runs set their own factor); `make check`
# holds the program to one second with nothing else running.
export BALLPIT_E2E_SLOW=${BALLPIT_E2E_SLOW:-2}
exec "$(dirname "$0")/../../scripts/faults" "$@" cycles 9 sigint 9
