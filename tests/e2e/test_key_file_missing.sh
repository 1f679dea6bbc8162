#!/usr/bin/env bash
# The key file is mandatory: without it start-up stops after the input
# module, with one error line and status 1.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

expect_refused() {
  e2e_wait_line '^Input initialized$' 30
  e2e_wait_exit
  e2e_expect_status 1
  e2e_expect_err '^Unable to open file configs/keys\.cfg\.$' 1
  e2e_expect_no_out 'Configs initialized|Initialization Complete|Cleaning'
}

e2e_prepare --no-keyfile
e2e_launch
expect_refused
e2e_log "ok: no configs directory"

# A directory where the file should be is no key file either.
e2e_prepare --no-keyfile
mkdir -p "$E2E_WORK/configs/keys.cfg"
e2e_launch
expect_refused
e2e_log "ok: configs/keys.cfg is a directory"

