#!/usr/bin/env bash
# The key file moves the bindings; lines it cannot use leave the defaults.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# Pause on k: k pauses and resumes, p does nothing.
e2e_prepare
e2e_keyfile 'pause = k'
e2e_launch
e2e_wait_started
e2e_key_tap p
e2e_expect_moving p-ignored
e2e_key_tap k
e2e_expect_frozen k-paused
e2e_key_tap p
e2e_expect_frozen p-still-ignored
e2e_key_tap k
e2e_expect_moving k-resumed
e2e_key_tap Escape
e2e_expect_orderly_end
e2e_log "ok: pause = k moves the pause key"

# End on q, among lines that bind nothing: Escape no longer ends, the
# untouched pause binding keeps its default, q ends.
e2e_prepare
e2e_keyfile 'jump = j' '# pause = k' 'pause = F1' 'Pause = k' 'end = q'
e2e_launch
e2e_wait_started
e2e_key_tap Escape
e2e_sleep 0.5
e2e_expect_alive "after Escape, with the end key on q"
e2e_key_tap p
e2e_expect_frozen default-pause
e2e_key_tap k
e2e_expect_frozen k-unbound
e2e_key_tap q
e2e_expect_orderly_end
e2e_log "ok: end = q moves the end key; unusable lines change nothing"

# The Windows key is LWin whichever SDL 1.2 is loaded (the compatibility
# implementation reports it as Meta).
e2e_prepare
e2e_keyfile 'pause = LWin'
e2e_launch
e2e_wait_started
e2e_key_tap Super_L
e2e_expect_frozen lwin-paused
e2e_key_tap Escape
e2e_expect_orderly_end
e2e_log "ok: pause = LWin pauses on the Windows key"

# An empty file is a valid one: all defaults.
e2e_prepare
: >"$E2E_WORK/configs/keys.cfg"
e2e_launch
e2e_wait_started
e2e_key_tap p
e2e_expect_frozen empty-file-pause
e2e_key_tap Escape
e2e_expect_orderly_end
e2e_log "ok: an empty key file keeps the defaults"
