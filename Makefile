# The two entry points: `make run` and `make test`. Both install what is
# missing, then build into build/.
BUILD := build
# Where `make install` puts the program; DESTDIR, when set, goes in front.
PREFIX ?= /usr/local

.PHONY: all deps configure build run test bench check install package web

all: build

# Each target installs what it needs and no more: running needs far fewer
# packages than the tests and checks (see scripts/deps). `make build` builds
# the tests too, so it installs theirs.
DEPS := test
run install: DEPS := run
check package: DEPS := check
bench: DEPS := bench

deps:
	@scripts/deps $(DEPS)

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja >/dev/null

build: configure
	@cmake --build $(BUILD)

# Only the program, so that a first run does not wait for the test programs.
run: configure
	@cmake --build $(BUILD) --target ballpit
	@scripts/run $(BUILD)/ballpit

test: build
	@scripts/test $(BUILD)

# $(PREFIX)/bin/ballpit, its default key file in $(PREFIX)/share/ballpit/, the
# manual page ballpit.6, the desktop entry, icons, AppStream metadata and file
# types, the copyright file and the changelog; only what is installed is
# built. Installed in place (no DESTDIR), the MIME database and the desktop
# entries' cache under the prefix are made again, so that the file manager
# knows the file types at once.
install: configure
	@cmake --build $(BUILD) --target ballpit data
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"
	@if [ -z "$(DESTDIR)" ]; then \
		! command -v update-mime-database >/dev/null || update-mime-database "$(PREFIX)/share/mime"; \
		! command -v update-desktop-database >/dev/null || update-desktop-database "$(PREFIX)/share/applications"; \
	fi

# The same files as a Debian package under /usr, the program in /usr/games:
# $(BUILD)/ballpit_*.deb.
package: configure
	@cmake --build $(BUILD) --target ballpit data
	@cd $(BUILD) && cpack -G DEB

# The page: $(BUILD)/web/ (index.html, page.js, ballpit.js, ballpit.wasm and
# ballpit.data), built with Debian's emscripten in $(BUILD)/web-build. Its
# compiler loads Debian's acorn, which a node of another origin does not find
# by itself.
WEB_ENV := NODE_PATH=/usr/share/nodejs$(if $(NODE_PATH),:$(NODE_PATH))
web:
	@scripts/deps web
	@$(WEB_ENV) emcmake cmake -S . -B $(BUILD)/web-build -G Ninja -DCMAKE_BUILD_TYPE=Release \
		-DBALLPIT_WEB_DIR=$(abspath $(BUILD))/web >/dev/null
	@$(WEB_ENV) cmake --build $(BUILD)/web-build

# Reliability and portability, after `make test`: AddressSanitizer and
# ThreadSanitizer builds with the unit and end-to-end tests, start/stop
# faults, the end under load, a one-minute soak, the golden trajectories built
# with fused multiply-add, the tests against the SDL 1.2 compatibility
# implementation, the package through lintian and the desktop and AppStream
# validators, the world built with clang and for ARM64 under qemu, and the
# page in headless Chromium against the desktop (scripts/check; its trees in $(BUILD)/asan, $(BUILD)/tsan, $(BUILD)/fma,
# $(BUILD)/sdl12-compat, $(BUILD)/package, $(BUILD)/clang, $(BUILD)/arm64,
# $(BUILD)/arm64-root, $(BUILD)/web-build and $(BUILD)/web).
check: build
	@scripts/check $(BUILD)

# Benchmarks, never part of `make test`: the headless scenarios (three runs,
# medians, docs/perf.png) and the micro-benchmarks (medians of three
# repetitions), all written to $(BUILD)/bench/.
bench: build
	@scripts/bench $(BUILD)
	@$(BUILD)/ballpit-micro --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
		--benchmark_out=$(BUILD)/bench/micro.json --benchmark_out_format=json
