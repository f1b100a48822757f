# The browser build: first its unit tests under Node (web/node_tests.mk), then
# tests/web/web_test.py in headless Chromium on the page `make web` builds, with Debian's Python
# (the one that has python3-websocket). Included by the top-level Makefile.

.PHONY: test-web

test-web:
	@bash tools/install-deps.sh web
	@$(MAKE) --no-print-directory test-node
	@test -x /usr/bin/python3 || { echo "FAIL: not installed: python3 (Debian's)" >&2; exit 1; }
	@/usr/bin/python3 tests/web/web_test.py --tools
	@$(MAKE) --no-print-directory web
	/usr/bin/python3 tests/web/web_test.py build-web
