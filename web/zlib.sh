#!/usr/bin/env bash
# Builds zlib for the browser into FOLDER (include/ and libz.a) from Debian's own zlib source
# (`apt-get source zlib`, which needs a deb-src line: tools/install-deps.sh web adds one), with
# emcc. Does nothing when FOLDER already holds the library.
#
#   web/zlib.sh FOLDER
set -euo pipefail
folder=$(realpath -m "$1")
[ -f "$folder/libz.a" ] && [ -f "$folder/include/zlib.h" ] && exit 0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Each version the archive lists, in turn: an archive that lacks one version's files (a mirror
# without the security updates' sources) may still have another's.
fetched=false
for version in $(apt-cache showsrc zlib | sed -n 's/^Version: //p'); do
  echo "fetching zlib $version's source with apt-get source" >&2
  if (cd "$work" && apt-get source -q "zlib=$version" >/dev/null 2>&1); then
    fetched=true
    break
  fi
done
$fetched || { echo "zlib.sh: apt-get source zlib failed (tools/install-deps.sh web adds" \
  "the deb-src line it needs)" >&2; exit 1; }
source=$(find "$work" -mindepth 2 -maxdepth 2 -name inflate.c -printf '%h\n' | head -n 1)
[ -n "$source" ] || { echo "zlib.sh: no zlib source was unpacked" >&2; exit 1; }

# The in-memory library without the gz* file functions, which would need zlib's configure:
# the .x reader only inflates buffers.
mkdir -p "$work/obj" "$folder/include"
for file in adler32 compress crc32 deflate infback inffast inflate inftrees trees uncompr \
    zutil; do
  emcc -O2 -c "$source/$file.c" -o "$work/obj/$file.o"
done
emar rcs "$work/libz.a" "$work"/obj/*.o
cp "$source/zlib.h" "$source/zconf.h" "$folder/include/"
mv "$work/libz.a" "$folder/libz.a"
echo "zlib for the browser: $folder/libz.a" >&2
