# The two entry points: `make run` and `make test`. Both install what is
# missing, then build into build/.
BUILD := build

.PHONY: all deps build run test

all: build

deps:
	@scripts/deps

build: deps
	@cmake -S . -B $(BUILD) -G Ninja >/dev/null
	@cmake --build $(BUILD)

run: build
	@scripts/run $(BUILD)/ballpit

test: build
	@scripts/test $(BUILD)
