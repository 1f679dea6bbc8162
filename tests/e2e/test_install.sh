#!/usr/bin/env bash
# Installed, the program runs from anywhere: `make install`'s files under a
# DESTDIR and the Debian package unpacked into a scratch root each start in a
# directory of their own, with no key file there nor in the user's
# configuration, and find the default installed beside them, and the preset
# scenes. Both hold every installed file: the desktop entry, icons and
# metadata too, and the file types, which the shared MIME database made from
# them knows by content.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

build=$(dirname "$E2E_BINARY")
[ -f "$build/CPackConfig.cmake" ] || e2e_fail "$build is no build directory (no CPackConfig.cmake)"

# Runs the installed program (the harness runs E2E_BINARY) through a normal
# session in an empty working directory.
expect_installed_runs() {
  E2E_BINARY=$1
  e2e_prepare --no-keyfile
  e2e_launch
  e2e_wait_started
  e2e_key_tap Escape
  e2e_expect_orderly_end
  e2e_run_direct --scene list
  [ "$(cut -f1 "$E2E_OUT" | tr '\n' ' ')" = "funnel lattice pachinko pile start " ] ||
    e2e_fail "the installed presets are not found: $(cat "$E2E_OUT" "$E2E_ERR")"
  e2e_run_direct --scene pachinko --headless --ticks 10
  e2e_expect_status 0
}

# expect_file_types PREFIX BINDIR: the MIME database made under PREFIX, read
# as file managers read it (GLib's gio; xdg-mime without a desktop session
# asks `file` instead), knows a scene and a recording named without an
# extension by their content, and the desktop entry opens both.
expect_file_types() {
  local share=$1/share types type
  XDG_DATA_DIRS=$share update-mime-database "$share/mime"
  update-desktop-database "$share/applications"
  cp "$E2E_REPO/scenes/pile.scene" "$E2E_TMP/a-scene"
  cp "$E2E_REPO/tests/recordings/pour.rec" "$E2E_TMP/a-recording"
  types=$(XDG_DATA_HOME=$E2E_TMP/no-data XDG_DATA_DIRS=$share gio info -a standard::content-type \
    "$E2E_TMP/a-scene" "$E2E_TMP/a-recording" | sed -n 's/^ *standard::content-type: //p' | tr '\n' ' ')
  [ "$types" = "application/x-ballpit-scene application/x-ballpit-recording " ] ||
    e2e_fail "under $1 the scene and the recording are: $types"
  for type in application/x-ballpit-scene application/x-ballpit-recording; do
    PATH=$2:$PATH XDG_DATA_HOME=$E2E_TMP/no-data XDG_DATA_DIRS=$share gio mime "$type" >"$E2E_TMP/apps"
    grep -qx $'\tballpit.desktop' "$E2E_TMP/apps" || e2e_fail "under $1 no desktop entry opens $type"
  done
}

# expect_files PREFIX PROGRAM: the program as PREFIX/PROGRAM and the rest.
expect_files() {
  local prefix=$1 file size
  for file in "$2" share/ballpit/keys.cfg share/man/man6/ballpit.6.gz \
      share/applications/ballpit.desktop share/metainfo/io.github.ballpit.metainfo.xml \
      share/icons/hicolor/scalable/apps/ballpit.svg share/doc/ballpit/copyright share/doc/ballpit/changelog.gz \
      share/ballpit/scenes/start.scene share/ballpit/scenes/pile.scene share/mime/packages/ballpit.xml; do
    [ -f "$prefix/$file" ] || e2e_fail "$file is not installed under $prefix"
  done
  for size in 48 128 256; do
    file=share/icons/hicolor/${size}x$size/apps/ballpit.png
    [ "$(identify -format %wx%h "$prefix/$file" 2>/dev/null)" = "${size}x$size" ] ||
      e2e_fail "$file under $prefix is not a $size-pixel PNG"
  done
}

# make install: DESTDIR in front of a prefix other than the configured one.
destdir=$E2E_TMP/destdir
DESTDIR=$destdir cmake --install "$build" --prefix /opt/ballpit >"$E2E_TMP/install.log" 2>&1 ||
  { cat "$E2E_TMP/install.log" >&2; e2e_fail "cmake --install failed"; }
expect_files "$destdir/opt/ballpit" bin/ballpit
expect_installed_runs "$destdir/opt/ballpit/bin/ballpit"
expect_file_types "$destdir/opt/ballpit" "$destdir/opt/ballpit/bin"
e2e_log "ok: installed under DESTDIR/opt/ballpit"

# The package: built, its dependencies satisfiable here, unpacked without root;
# it keeps the program in /usr/games, from where the default is still found.
cpack --config "$build/CPackConfig.cmake" -B "$E2E_TMP/package" >"$E2E_TMP/cpack.log" 2>&1 ||
  { cat "$E2E_TMP/cpack.log" >&2; e2e_fail "cpack failed"; }
debs=("$E2E_TMP"/package/ballpit_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || e2e_fail "cpack made no ballpit_*.deb"
apt-get install -s -q "${debs[0]}" >"$E2E_TMP/apt.log" 2>&1 ||
  { cat "$E2E_TMP/apt.log" >&2; e2e_fail "apt-get cannot install ${debs[0]}"; }
dpkg -x "${debs[0]}" "$E2E_TMP/root"
expect_files "$E2E_TMP/root/usr" games/ballpit
expect_installed_runs "$E2E_TMP/root/usr/games/ballpit"
expect_file_types "$E2E_TMP/root/usr" "$E2E_TMP/root/usr/games"
e2e_log "ok: package $(basename "${debs[0]}") unpacked into a scratch root"
