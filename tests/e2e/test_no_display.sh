#!/usr/bin/env bash
# Without a display the program fails fast with one line and status 1, and
# leaves the terminal alone. So does a headless replay whose world's address
# space is refused.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@" --no-display

no_display_expectations() {
  e2e_wait_exit 10
  e2e_expect_status 1
  [ "$(wc -l <"$E2E_ERR")" -eq 1 ] || e2e_fail "expected exactly one line on standard error"
  e2e_expect_err '^SDL_Init failed: .+$' 1
  e2e_expect_no_out 'initialized|Created|Complete'
  if grep -q $'\e' "$E2E_OUT" "$E2E_ERR"; then
    e2e_fail "terminal escape sequences in the output"
  fi
}

e2e_launch env -u DISPLAY
no_display_expectations
# The classic SDL 1.2 and the compatibility implementation on top of SDL 2
# word it differently.
e2e_expect_err '^SDL_Init failed: (No available video device|x11 not available)$' 1
e2e_log "ok: DISPLAY unset"

# A display that nobody serves fails the same way.
e2e_launch env DISPLAY=:65000
no_display_expectations
e2e_log "ok: DISPLAY names no server"

# Under ulimit -v with room for the program but not for the world's 128 MiB
# arena. A sanitizer reserves terabytes at start-up: no such limit fits it.
# (grep reads all of ldd's output: quitting at the first match could kill ldd
# with SIGPIPE, which pipefail would count as no match.)
if grep -qE 'lib(a|t)san' <<<"$(ldd "$E2E_BINARY")"; then
  e2e_log "skipped: the address-space limit under a sanitizer"
  exit 0
fi
e2e_prepare
E2E_WRAPPER=(prlimit --as=$((96 << 20)))
e2e_run_direct --replay "$E2E_REPO/tests/recordings/pour.rec" --headless
e2e_expect_status 1
[ "$(wc -l <"$E2E_ERR")" -eq 1 ] || e2e_fail "expected exactly one line on standard error"
e2e_expect_err "^ballpit: cannot reserve the world's 128 MiB of address space: .+\$" 1
e2e_log "ok: the world's address space refused"
