#!/usr/bin/env bash
# The sandbox's tools on their default keys: the caption's figures, a single
# step while paused, reset to the starting scene, the grid view, the overlay
# and the time scale.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

e2e_launch
e2e_wait_started

# caption_matches REGEX: the caption, refreshed once a second, matches.
caption_matches() {
  [[ "$(e2e_caption)" =~ $1 ]]
}
expect_caption() {
  e2e_poll 5 caption_matches "$1" || e2e_fail "caption '$(e2e_caption)', expected to match '$1'"
}
expect_caption '^ballpit: 58 balls, [0-9]+ ups, [0-9]+ fps, step [0-9]+\.[0-9]{2} ms \(max [0-9]+\.[0-9]{2}\)$'
e2e_log "ok: the caption shows the figures: $(e2e_caption)"

e2e_key_tap p
expect_caption ', paused$'
e2e_expect_frozen paused

# One press, one tick: the scene moves once and stands still again.
before=$(e2e_shot before-step)
e2e_key_tap n
stepped=$(e2e_shot stepped)
[ "$(e2e_diff "$before" "$stepped")" -gt 0 ] || e2e_fail "the step key did not move the paused scene"
e2e_expect_frozen after-step
e2e_log "ok: n steps the paused world once"

# Reset while paused: the starting scene, still.
e2e_key_tap r
reset=$(e2e_shot reset)
for spot in "50 50 255,255,255" "150 50 127,127,127" "50 100 255,0,0" "100 100 0,255,0" "150 100 0,0,255" \
  "50 150 255,255,0" "100 150 255,0,255" "150 150 0,255,255" "200 200 0,255,255" "298 298 0,255,255" \
  "450 450 255,0,0"; do
  read -r x y colour <<<"$spot"
  got=$(e2e_pixel "$reset" "$x" "$y")
  # Grey is 0.5 of each channel: 127 or 128, as the renderer rounds it.
  [ "$got" = "$colour" ] || { [ "$colour" = 127,127,127 ] && [ "$got" = 128,128,128 ]; } ||
    e2e_fail "after reset ($x,$y) is $got, expected $colour"
done
e2e_expect_frozen reset-paused
expect_caption '^ballpit: 58 balls,.*, paused$'
e2e_log "ok: r restores the starting scene and keeps the pause"

# The grid of the next world step: shaded where the bodies lie, black where
# none does; hidden again, the frame is as it was.
e2e_key_tap n
plain=$(e2e_shot plain)
e2e_key_tap g
grid=$(e2e_shot grid)
[ "$(e2e_pixel "$grid" 77 72)" != 0,0,0 ] || e2e_fail "no shade in the cell of the white ball"
[ "$(e2e_pixel "$grid" 620 130)" = 0,0,0 ] || e2e_fail "an empty cell is shaded"
[ "$(e2e_pixel "$grid" 50 50)" = 255,255,255 ] || e2e_fail "the grid covers the white ball"
e2e_key_tap g
[ "$(e2e_diff "$plain" "$(e2e_shot grid-off)")" -eq 0 ] || e2e_fail "the frame changed after hiding the grid"
e2e_log "ok: g shows the grid under the bodies and hides it"

e2e_key_tap h
hud=$(e2e_shot hud)
text=$(e2e_count_colour "$hud" 255,255,255 220x110+0+0)
[ "$text" -gt 100 ] || e2e_fail "only $text white pixels of text in the top-left corner"
e2e_key_tap h
[ "$(e2e_diff "$plain" "$(e2e_shot hud-off)")" -eq 0 ] || e2e_fail "the frame changed after hiding the overlay"
e2e_log "ok: h shows the overlay and hides it"

# Half the ticks per second (the Minus key); the caption says so.
e2e_key_tap p
e2e_key_tap minus
expect_caption ', time scale 0\.5$'
e2e_sleep 1.5
ups=$(e2e_ups_values | tail -n1)
[ "$E2E_SCALE" -gt 1 ] || { [ "$ups" -ge 40 ] && [ "$ups" -le 55 ]; } || e2e_fail "$ups ticks a second at half speed"
e2e_log "ok: minus halves the ticks per second ($ups)"

e2e_key_tap Escape
e2e_expect_orderly_end
