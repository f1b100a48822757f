# The unit tests that need no window, built for the browser with emscripten (tests/node/) and
# run under Node from the repository root, on the browser build's own C and C++ libraries.
# GoogleTest is built once from Debian's source into build-web/gtest; the tests and zlib in
# build-web/node and build-web/zlib. Each step's time is printed. Included by the top-level
# Makefile; `make test-web` runs it first.

NODE_BUILD := $(WEB_BUILD)/node
NODE_GTEST := $(WEB_BUILD)/gtest
GTEST_SOURCE := /usr/src/googletest
# Node would fetch the .wasm as a URL without it.
NODE_RUN := node --no-experimental-fetch
NODE_NOW = $$(date +%s%N)

.PHONY: test-node

$(NODE_GTEST)/lib/libgtest_main.a:
	$(WEB_ENV) emcmake cmake -S $(GTEST_SOURCE) -B $(NODE_GTEST) -DCMAKE_BUILD_TYPE=Release \
	  -Dgtest_disable_pthreads=ON -DBUILD_GMOCK=OFF >/dev/null
	$(WEB_ENV) cmake --build $(NODE_GTEST) -j$(JOBS) >/dev/null

test-node: web-deps
	@for tool in emcmake node; do command -v $$tool >/dev/null || \
	  { echo "FAIL: not installed: $$tool" >&2; exit 1; }; done
	@test -f $(GTEST_SOURCE)/CMakeLists.txt || \
	  { echo "FAIL: not installed: googletest ($(GTEST_SOURCE))" >&2; exit 1; }
	@start=$(NODE_NOW); $(MAKE) --no-print-directory $(NODE_GTEST)/lib/libgtest_main.a && \
	  echo "Node unit tests: GoogleTest built in $$(( ($$(date +%s%N) - start) / 1000000 )) ms"
	@start=$(NODE_NOW); $(WEB_ENV) bash web/zlib.sh $(WEB_ZLIB) && \
	  $(WEB_ENV) emcmake cmake -S . -B $(NODE_BUILD) -DCMAKE_BUILD_TYPE=Release \
	  -DKV_NODE_TESTS=ON -DKV_BENCH=OFF \
	  -DZLIB_INCLUDE_DIR=$(abspath $(WEB_ZLIB))/include \
	  -DZLIB_LIBRARY=$(abspath $(WEB_ZLIB))/libz.a \
	  -DGTEST_INCLUDE_DIR=$(GTEST_SOURCE)/googletest/include \
	  -DGTEST_LIBRARY=$(abspath $(NODE_GTEST))/lib/libgtest.a \
	  -DGTEST_MAIN_LIBRARY=$(abspath $(NODE_GTEST))/lib/libgtest_main.a >/dev/null && \
	  $(WEB_ENV) cmake --build $(NODE_BUILD) -j$(JOBS) --target kv_node_tests && \
	  echo "Node unit tests: built in $$(( ($$(date +%s%N) - start) / 1000000 )) ms"
	@start=$(NODE_NOW); $(NODE_RUN) $(NODE_BUILD)/bin/kv_node_tests.js --gtest_brief=1; \
	  status=$$?; echo "Node unit tests: ran in $$(( ($$(date +%s%N) - start) / 1000000 )) ms" \
	  "under $$(node --version)"; exit $$status
