# The two commands: `make run` starts the demo, `make test` builds and runs every test.
# Both install any missing Debian package first.

BUILD := build
TEST_BUILD := build-test
JOBS ?= 2

.PHONY: run test deps build build-tests clean

deps:
	@bash tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DKV_TESTS=OFF -DKV_BENCH=OFF >/dev/null
	cmake --build $(BUILD) -j$(JOBS) --target korvane kv_capture

run: build
	@bash tools/run-demo.sh $(BUILD)

build-tests: deps
	cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_SANITIZE=ON -DKV_BENCH=OFF >/dev/null
	cmake --build $(TEST_BUILD) -j$(JOBS)

test: build-tests
	cd $(TEST_BUILD) && ctest --output-on-failure -j$(JOBS)

clean:
	rm -rf $(BUILD) $(TEST_BUILD)
