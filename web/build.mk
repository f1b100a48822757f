# The browser build: the same application folders compiled with Debian's emscripten into a
# page for WebGL 2 (korvane.html, korvane.js, korvane.wasm and the packed data korvane.data),
# all in build-web/, which any static web server can serve as it is. CMake's own files and the
# zlib built for the browser stay in build-web/cmake and build-web/zlib. Included by the
# top-level Makefile.

WEB_BUILD := build-web
WEB_ZLIB := $(WEB_BUILD)/zlib
# Debian's emscripten runs its JavaScript tools with whatever Node is first on the path; they
# need Debian's JavaScript modules (acorn).
WEB_ENV := NODE_PATH=/usr/share/nodejs

.PHONY: web web-deps run-web

web-deps:
	@bash tools/install-deps.sh web

web: web-deps
	$(WEB_ENV) bash web/zlib.sh $(WEB_ZLIB)
	$(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD)/cmake -DCMAKE_BUILD_TYPE=Release \
	  -DKV_TESTS=OFF -DKV_BENCH=OFF -DKV_WEB_OUTPUT=$(abspath $(WEB_BUILD)) \
	  -DZLIB_INCLUDE_DIR=$(abspath $(WEB_ZLIB))/include \
	  -DZLIB_LIBRARY=$(abspath $(WEB_ZLIB))/libz.a >/dev/null
	$(WEB_ENV) cmake --build $(WEB_BUILD)/cmake -j$(JOBS) --target korvane
	@echo "$(WEB_BUILD)/korvane.html, korvane.js, korvane.wasm, korvane.data"

# Serves build-web/ on this machine only, on a free port, and prints the page's address.
run-web: web
	@python3 web/serve.py $(WEB_BUILD)
