# The two entry points: `make run` and `make test`. Both install what is
# missing, then build into build/.
BUILD := build

.PHONY: all deps build run test bench check

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

# Reliability, after `make test`: AddressSanitizer and ThreadSanitizer builds
# with the unit and end-to-end tests, start/stop faults, the end under load
# and a one-minute soak (scripts/check; sanitizer trees in $(BUILD)/asan and
# $(BUILD)/tsan).
check: build
	@scripts/check $(BUILD)

# Benchmarks, never part of `make test`: the headless scenarios (three runs,
# medians, docs/perf.png) and the micro-benchmarks (medians of three
# repetitions), all written to $(BUILD)/bench/.
bench: build
	@scripts/bench $(BUILD)
	@$(BUILD)/ballpit-micro --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
		--benchmark_out=$(BUILD)/bench/micro.json --benchmark_out_format=json
