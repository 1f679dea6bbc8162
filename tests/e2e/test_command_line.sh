#!/usr/bin/env bash
# The command line: --version, --help with the bindings of the key file in
# force, --keys FILE, and usage errors (a name starting with '-' is taken for
# an option).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

e2e_prepare
e2e_run_direct --version
e2e_expect_status 0
e2e_expect_out '^ballpit [0-9]+\.[0-9]+\.[0-9]+$' 1
e2e_log "ok: --version"

# The help lists each binding with the key the file gives it: moved, kept,
# and dropped where the file gave a tool's default key to another binding.
e2e_prepare
e2e_keyfile 'pause = n' 'grid = q'
e2e_run_direct --help
e2e_expect_status 0
e2e_expect_out '^usage: ballpit ' 1
for binding in 'pause +n ' 'end +Escape ' 'step +none ' 'reset +r ' 'slower +Minus ' 'grid +q ' 'hud +h '; do
  e2e_expect_out "^  $binding" 1
done
[ ! -s "$E2E_ERR" ] || e2e_fail "--help wrote on standard error"
e2e_log "ok: --help lists the bindings of the key file in force"

for wrong in "--bogus" "--keys" "two files" "-named"; do
  e2e_prepare
  # shellcheck disable=SC2086  # one or two words
  e2e_run_direct $wrong
  e2e_expect_status 64
  [ "$(wc -l <"$E2E_ERR")" -eq 1 ] || e2e_fail "$wrong: expected one line on standard error"
  e2e_expect_err 'usage: ballpit ' 1
  [ ! -s "$E2E_OUT" ] || e2e_fail "$wrong: output on standard output"
done
e2e_log "ok: an unknown option, a missing argument or a second file exits 64 with one usage line"

# --keys reads that file, wherever it is, and not configs/keys.cfg.
e2e_prepare
printf 'end = q\n' >"$E2E_TMP/elsewhere.cfg"
E2E_ARGS=(--keys "$E2E_TMP/elsewhere.cfg")
e2e_launch
e2e_wait_started
e2e_key_tap Escape
e2e_sleep 0.5
e2e_expect_alive "after Escape, with the end key on q"
e2e_key_tap q
e2e_expect_orderly_end
e2e_log "ok: --keys FILE moves the end key"

# A file that cannot be opened stops start-up as a missing configs/keys.cfg does.
e2e_prepare
E2E_ARGS=(--keys "$E2E_TMP/missing.cfg")
e2e_launch
e2e_wait_exit 30
e2e_expect_status 1
e2e_expect_err "^Unable to open file $E2E_TMP/missing\\.cfg\\.\$" 1
e2e_log "ok: --keys with a missing file: its name and status 1"
