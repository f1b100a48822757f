#!/usr/bin/env python3
"""Serves a folder on 127.0.0.1 at a free port and prints the page's address.

    python3 web/serve.py FOLDER [PAGE]
"""
import functools
import http.server
import sys


def main():
    folder = sys.argv[1]
    page = sys.argv[2] if len(sys.argv) > 2 else "korvane.html"
    handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=folder)
    # The browser compiles the program while it downloads only when it comes as wasm.
    handler.func.extensions_map = {**handler.func.extensions_map, ".wasm": "application/wasm"}
    with http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler) as server:
        port = server.server_address[1]
        print(f"Open http://127.0.0.1:{port}/{page} in a browser with WebGL 2 "
              "(Ctrl+C stops the server).", flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass


if __name__ == "__main__":
    main()
