# The two commands: `make run` starts the demo, `make test` builds and runs every test.
# Both install any missing Debian package first. `make windows` and `make test-windows` build
# the native Windows program and run it under Wine (windows/build.mk); `make web` and
# `make run-web` build the page for the browser and serve it (web/build.mk).

BUILD := build
TEST_BUILD := build-test
SANITIZE_BUILD := build-sanitize
JOBS ?= 2

.PHONY: references run test test-sanitize deps build build-tests build-sanitize clean fuzz

deps:
	@bash tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DKV_TESTS=OFF -DKV_BENCH=OFF >/dev/null
	cmake --build $(BUILD) -j$(JOBS) --target korvane kv_capture

run: build
	@bash tools/run-demo.sh $(BUILD)

build-tests: deps
	cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_SANITIZE=OFF -DKV_BENCH=OFF >/dev/null
	cmake --build $(TEST_BUILD) -j$(JOBS)

# Unit, device and end-to-end suites on an optimised build.
test: build-tests
	cd $(TEST_BUILD) && ctest --output-on-failure -j$(JOBS)

# The same suites built with AddressSanitizer and UndefinedBehaviorSanitizer, plus a leak
# check of a few hundred frames of the whole program.
build-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_SANITIZE=ON -DKV_BENCH=OFF >/dev/null
	cmake --build $(SANITIZE_BUILD) -j$(JOBS)

test-sanitize: build-sanitize
	cd $(SANITIZE_BUILD) && ctest --output-on-failure -j$(JOBS)

# Renders the reference scenes anew into tests/references/ and writes, beside each new
# picture in build-test/references/, a difference picture against the old reference. Use it
# only when a change is meant to move pixels; review the differences, then commit both.
references: build-tests
	bash tests/references/run.sh $(TEST_BUILD)/bin $(TEST_BUILD)/references --update

clean:
	rm -rf $(BUILD) $(TEST_BUILD) $(SANITIZE_BUILD) $(WIN_BUILD) $(WEB_BUILD)

# Builds the fuzz targets with clang in build-fuzz and runs each for FUZZ_SECONDS on a working
# copy of its corpus; inputs that break one are reported with where to copy them.
FUZZ_SECONDS ?= 60
fuzz: deps
	@JOBS=$(JOBS) bash tools/fuzz.sh build-fuzz $(FUZZ_SECONDS)

include windows/build.mk
include web/build.mk
include web/node_tests.mk
include tests/web/test.mk
