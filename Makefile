# Two commands set everything up: `make run` and `make test` (see README.md).
BUILD ?= build/dev
PRESET ?= dev
PREFIX ?= /usr/local

.PHONY: deps configure build run test install package bench bench-compare bench-sync clean

deps:
	@bash scripts/install-deps

# Always through the preset, so that a changed flag (warnings as errors among them) applies;
# a configuration that has not changed costs a few seconds.
configure: deps
	@cmake --preset $(PRESET) --log-level=WARNING $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD)

run: build
	$(BUILD)/src/dayweaver

# Every test but the stress tests (label `stress`), which .ci/run runs after these; as many
# at once as there are cores (the sync tests, each with its own server, one at a time).
test: build
	cd $(BUILD) && ctest --output-on-failure -LE stress -j$(shell nproc)

# Installs the built programs and their files under PREFIX (bin/, share/, ...).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package, from the release configuration: build/release/dayweaver_*.deb
package: deps
	@if [ ! -f build/release/build.ninja ]; then cmake --preset release $(CMAKE_ARGS); fi
	cmake --build build/release --target dayweaver dayweaver-cli cli_docs
	cd build/release && cpack -G DEB

bench: deps
	cmake --preset release
	cmake --build build/release --target store_bench
	build/release/bench/store_bench

# Whole processes beside calcurse at 1 000, 10 000 and 100 000 tasks (release build).
bench-compare: deps
	@if [ ! -f build/release/build.ninja ]; then cmake --preset release; fi
	cmake --build build/release --target dayweaver dayweaver-cli
	python3 scripts/bench-compare build/release/src/dayweaver-cli

# The sync's first upload of 2 000 tasks beside a plain client, and a sync with nothing to do.
bench-sync: deps
	@if [ ! -f build/release/build.ninja ]; then cmake --preset release; fi
	cmake --build build/release --target dayweaver-cli
	python3 bench/sync-compare build/release/src/dayweaver-cli

clean:
	rm -rf build
