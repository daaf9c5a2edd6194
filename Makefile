# The two commands of the README, plus benchmarks. Every target installs what is missing first.
.PHONY: all deps build run test bench clean

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BUILD_DIR := build
TEST_DIR := build-test
GAME_DIR := $(BUILD_DIR)/game
RUN_ARGS ?=

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

clean:
	rm -rf $(BUILD_DIR) $(TEST_DIR)
