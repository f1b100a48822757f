#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each in turn for a while, on a working copy
# of its corpus inside the build folder, so that the inputs libFuzzer adds stay out of the
# repository. Inputs that break a target are written to <build>/crashes-<name>/.
# texture_stb feeds the same texture corpus to the decoder over stb_image, the Windows program's
# and the browser's. FUZZ_TARGETS chooses some of them (default: all).
# Usage: [FUZZ_TARGETS="texture_stb"] tools/fuzz.sh [build folder] [seconds per target]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
seconds=${2:-60}
read -r -a targets <<<"${FUZZ_TARGETS:-xfile texture texture_stb}"

# clang and its fuzzer runtime are needed here only, so they are installed here.
missing=()
for package in clang libclang-rt-dev; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}" >&2
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# A build folder configured with another compiler cannot switch: start it afresh.
if [ -f "$build/CMakeCache.txt" ] &&
  ! grep -q '^CMAKE_CXX_COMPILER:FILEPATH=.*clang++' "$build/CMakeCache.txt"; then
  rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
fi
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_FUZZ=ON \
  -DKV_TESTS=ON -DKV_BENCH=OFF >/dev/null
if ! cmake --build "$build" -j"${JOBS:-2}" --target "${targets[@]/%/_fuzz}" \
  >"$build/fuzz-build.log" 2>&1; then
  tail -n 40 "$build/fuzz-build.log" >&2
  exit 1
fi

broken=()
for name in "${targets[@]}"; do
  seeds=${name%_stb}  # a reader's other decoder shares its seeds, dictionary and crashes
  corpus="$build/corpus-$name"
  crashes="$build/crashes-$name"
  log="$build/fuzz-$name.log"
  mkdir -p "$corpus" "$crashes"
  # The seeds and every input that once broke the target start the working corpus.
  find "tests/fuzz/corpus/$seeds" "tests/fuzz/crashes/$seeds" -type f ! -name README \
    -exec cp -n -t "$corpus" {} +
  echo "fuzz: $name for ${seconds} s (log: $log)"
  status=0
  "$build/bin/${name}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -dict="tests/fuzz/$seeds.dict" -artifact_prefix="$crashes/" \
    "$corpus" >"$log" 2>&1 || status=$?
  grep -E '^#[0-9]+[[:space:]]+DONE|^stat::number_of_executed_units|^SUMMARY' "$log" || true
  if [ "$status" -ne 0 ] || [ -n "$(ls -A "$crashes")" ]; then
    echo "fuzz: $name broke (exit $status); inputs in $crashes/:" >&2
    ls -1 "$crashes" >&2
    echo "fuzz: copy them into tests/fuzz/crashes/$seeds/ so that kv_tests replays them," \
      "then remove them from $crashes/" >&2
    broken+=("$name")
  fi
done
[ ${#broken[@]} -eq 0 ] || exit 1
