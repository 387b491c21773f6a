# Two commands set everything up: `make run` and `make test` (see README.md).
BUILD ?= build/dev
PRESET ?= dev

.PHONY: deps configure build run test bench clean

deps:
	@bash scripts/install-deps

configure: deps
	@if [ ! -f $(BUILD)/build.ninja ]; then cmake --preset $(PRESET) $(CMAKE_ARGS); fi

build: configure
	cmake --build $(BUILD)

run: build
	$(BUILD)/src/dayweaver

test: build
	cd $(BUILD) && ctest --output-on-failure

bench: deps
	cmake --preset release
	cmake --build build/release --target store_bench
	build/release/bench/store_bench

clean:
	rm -rf build
