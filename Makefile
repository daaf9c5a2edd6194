# The two commands of the README, plus benchmarks. Every target installs what is missing first.
.PHONY: all deps build run test bench fuzz soak clean

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BUILD_DIR := build
TEST_DIR := build-test
GAME_DIR := $(BUILD_DIR)/game
RUN_ARGS ?=
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=
SOAK_SECONDS ?= 600
SOAK_SEED ?= 1

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_TESTS=OFF >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	cd $(GAME_DIR) && ./orvane $(RUN_ARGS)

test: deps
	@cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORV_SANITIZE=ON -DORV_BENCH=OFF >/dev/null
	@cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD_DIR)/bench/*; do echo "== $$b"; "$$b" || exit 1; done

# Every reader under libFuzzer for FUZZ_SECONDS each (FUZZ_TARGETS picks some); crashers land in
# fuzz/crashers/, which make test replays.
fuzz: build
	@bash scripts/fuzz.sh $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# The sanitized program headless on the demo levels with seeded random play for SOAK_SECONDS.
soak: deps
	@cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORV_SANITIZE=ON -DORV_BENCH=OFF >/dev/null
	@cmake --build $(TEST_DIR) -j $(JOBS) --target orvane orv_game_maps
	@python3 scripts/soak.py --game $(TEST_DIR)/game --seconds $(SOAK_SECONDS) --seed $(SOAK_SEED)

clean:
	rm -rf $(BUILD_DIR) $(TEST_DIR) build-fuzz
