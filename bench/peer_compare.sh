#!/usr/bin/env bash
# Our program against the peer engine on the same scene, in interleaved rounds on one Xvfb
# display (ours, the peer, ours, the peer, ...): the median frame time of a frame that only
# clears and presents, of the whole scene, and the CPU per particle of the particle path at
# 1,000 and 10,000 particles; then the medians over the rounds and the ratios (peer / ours:
# above 1 means we are faster). With --baseline, a second build of ours (the previous commit's)
# takes part in the same rounds. The peer (bench/peer/, on Irrlicht) is optional: without
# Irrlicht it is skipped.
#
#   bench/peer_compare.sh BUILD [--baseline BUILD] [--rounds N] [--frames N]
# BUILD needs kv_capture and particle_stress_bench (configure with -DKV_BENCH=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
shift
baseline="" rounds=5 frames=600
while [ $# -gt 0 ]; do
  case $1 in
    --baseline) baseline=$2 ;;
    --rounds) rounds=$2 ;;
    --frames) frames=$2 ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
  shift 2
done
work=$(mktemp -d) xvfb=""
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT

# The peer is built from bench/peer/ on every run. C++17: Irrlicht 1.8's headers do not
# compile as C++20.
peer=""
if dpkg-query -W -f='${Status}' libirrlicht-dev 2>/dev/null | grep -q "install ok installed"; then
  g++ -std=c++17 -O2 -Wall -Wextra -isystem /usr/include/irrlicht bench/peer/*.cpp \
    -o "$work/peer_scene" -lIrrlicht -lGL
  peer="$work/peer_scene"
else
  echo "peer skipped: Irrlicht is not installed (apt-get install libirrlicht-dev)"
fi

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do grep -qs . "$work/display" && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$work/display")

median() { grep -o 'median [0-9.]*' | awk '{print $2}'; }
per_particle() { grep -o 'cpu_ns_per_particle=[0-9.]*' | cut -d= -f2 | tr '\n' ' '; }
ours() {  # build: clear-only ms, whole ms, ns per particle at 1,000 and 10,000
  echo "$("$1/bin/kv_capture" --frames "$frames" --timing --clear-only | median)" \
    "$("$1/bin/kv_capture" --frames "$frames" --timing | median)" \
    "$("$1/bin/particle_stress_bench" --benchmark_filter='BM_Render/particles:10{3,4}/gathered:1/' \
      --benchmark_min_time=0.5 2>/dev/null | per_particle)"
}
theirs() {
  echo "$("$peer" --frames "$frames" --only clear 2>/dev/null | median)" \
    "$("$peer" --frames "$frames" 2>/dev/null | median)" \
    "$("$peer" --stress --particles psnode --scale 8 2>/dev/null | grep -o '[0-9.]* ns/particle' | cut -d' ' -f1)" \
    "$("$peer" --stress --particles psnode --scale 80 2>/dev/null | grep -o '[0-9.]* ns/particle' | cut -d' ' -f1)"
}
for round in $(seq "$rounds"); do
  ours "$build" >>"$work/ours"
  [ -n "$baseline" ] && ours "$baseline" >>"$work/baseline"
  [ -n "$peer" ] && theirs >>"$work/peer"
  echo "round $round done" >&2
done

# Median of each column of a file of rounds.
medians() {
  for column in 1 2 3 4; do
    cut -d' ' -f$column "$1" | sort -n | awk '{v[NR]=$1} END{print (NR%2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2)}'
  done | tr '\n' ' '
}
printf '%-10s %12s %12s %16s %16s\n' "" "clear (ms)" "whole (ms)" "ns/particle 1k" "ns/particle 10k"
for who in ours baseline peer; do
  [ -s "$work/$who" ] || continue
  read -r -a m <<<"$(medians "$work/$who")"
  eval "m_$who=(${m[*]})"
  printf '%-10s %12s %12s %16s %16s\n' "$who" "${m[@]}"
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{ printf "%.2fx", a / b }'; }
for who in baseline peer; do
  [ -s "$work/$who" ] || continue
  eval "other=(\${m_$who[@]})"
  printf '%-10s %12s %12s %16s %16s\n' "$who/ours" "$(ratio "${other[0]}" "${m_ours[0]}")" \
    "$(ratio "${other[1]}" "${m_ours[1]}")" "$(ratio "${other[2]}" "${m_ours[2]}")" \
    "$(ratio "${other[3]}" "${m_ours[3]}")"
done
