#!/usr/bin/env bash
# Development entry point: installs what is missing, builds, and runs.
#   ./dev.sh run            build and start the window on a copy of an example position
#                           (without a display: print it and draw it into a picture file)
#   ./dev.sh test           build and run every test (also under the sanitizers)
#   ./dev.sh bench          build, print the search signature and run the benchmarks
#   ./dev.sh fuzz [SECONDS] build and run each fuzz target (default 60 s each)
#   ./dev.sh tsan           build and run the tests of solving beside the window
#                           under ThreadSanitizer
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$(pwd)
JOBS=$(nproc 2>/dev/null || echo 2)

PACKAGES=(
  cmake make g++ pkgconf
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl-dev
  xvfb xauth
  clang libclang-rt-dev
)

log() { printf '==> %s\n' "$*" >&2; }

ensure_packages() {
  local missing=() p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
      sudo=(sudo)
    else
      printf 'error: missing Debian packages: %s\n' "${missing[*]}" >&2
      printf 'Run this script as root, or install them with: sudo apt-get install %s\n' "${missing[*]}" >&2
      exit 1
    fi
  fi
  log "installing ${missing[*]}"
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# build DIR [cmake options...]
build() {
  local dir=$1; shift
  cmake -S "$ROOT" -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j "$JOBS"
}

cmd_build() {
  ensure_packages
  build build -DCMAKE_BUILD_TYPE=Release
}

cmd_test() {
  cmd_build
  log "tests"
  (cd build && ctest --output-on-failure -j "$JOBS")
  log "engine tests under AddressSanitizer and UndefinedBehaviorSanitizer"
  build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVOREK_SANITIZE=ON -DVOREK_BUILD_APP=OFF \
    -DVOREK_BUILD_BENCH=OFF
  (cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j "$JOBS")
  log "fuzz targets, a short run each"
  cmd_fuzz 10
}

# The solve, the deletion of trees and the engine's analysis run on threads of
# their own beside the window's: the tests that exercise them, under
# ThreadSanitizer.
cmd_tsan() {
  ensure_packages
  build build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOREK_THREAD_SANITIZE=ON -DVOREK_BUILD_BENCH=OFF
  log "solving beside the window under ThreadSanitizer"
  (cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$ROOT/tsan.supp" \
    ctest --output-on-failure -j "$JOBS" -R 'Solver|SlotPool|test_solve_command|test_solve_line|test_tree_navigation|test_ask_opponent|EngineSession|test_main_window|test_engine_analysis')
}

# The search signature first (the node counts of the benchmark solves, hashed;
# a change that alters the search must record the new one), then every
# benchmark. A signature other than the recorded one fails the command at the end.
cmd_bench() {
  cmd_build
  local b status=0
  log "search signature"
  build/bench/vorek_bench_signature || status=$?
  for b in $(find build/bench -type f -perm -u+x -name '*bench*' ! -name vorek_bench_signature | sort); do
    log "$b"
    "$b" "$@"
  done
  return "$status"
}

# The libFuzzer targets: clang with the address and undefined-behaviour
# sanitizers, engine only.
build_fuzz() {
  ensure_packages
  CXX=clang++ cmake -S "$ROOT" -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOREK_FUZZ=ON \
    -DVOREK_BUILD_APP=OFF -DVOREK_BUILD_TESTS=OFF -DVOREK_BUILD_BENCH=OFF >/dev/null
  cmake --build build-fuzz -j "$JOBS" --target vorek_fuzz_targets
}

# fuzz_target BINARY SECONDS: runs one target on fuzz/corpus-work/NAME, a working
# copy of its seed corpus fuzz/corpus/NAME that keeps what the runs find. The
# full output goes to fuzz/corpus-work/NAME.log, inputs that fail to
# fuzz/corpus-work/crashes/.
fuzz_target() {
  local bin=$1 seconds=$2 name work seed status=0
  name=$(basename "$bin")
  work=fuzz/corpus-work/$name
  mkdir -p "$work" fuzz/corpus-work/crashes
  for seed in "fuzz/corpus/$name"/*; do
    if [ -f "$seed" ] && [ ! -e "$work/${seed##*/}" ]; then cp "$seed" "$work/"; fi
  done
  log "fuzz $name for ${seconds}s"
  "$bin" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="fuzz/corpus-work/crashes/$name-" "$work" >"$work.log" 2>&1 || status=$?
  grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)|^stat::(number_of_executed_units|peak_rss_mb)' "$work.log" >&2 || true
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$work.log" >&2
    printf 'error: %s failed; the input is in fuzz/corpus-work/crashes/, the output in %s.log\n' \
      "$name" "$work" >&2
    return 1
  fi
}

cmd_fuzz() {
  local seconds=${1:-60} bin
  case "$seconds" in
    '' | *[!0-9]* | 0) printf 'error: SECONDS must be a whole number above 0, not %s\n' "$seconds" >&2; exit 2 ;;
  esac
  build_fuzz
  for bin in $(find build-fuzz/fuzz -maxdepth 1 -type f -perm -u+x -name 'fuzz_*' | sort); do
    fuzz_target "$bin" "$seconds"
  done
}

# Without a display (over ssh, in a container) the window cannot open: the
# position is shown as text and drawn into a picture file instead.
cmd_run() {
  cmd_build
  local work
  work=$(mktemp -d "${TMPDIR:-/tmp}/visual-vorek-XXXXXX")
  cp examples/middlegame/plocha.dat examples/middlegame/tah.dat "$work/"
  log "position folder: $work"
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    log "no display (DISPLAY and WAYLAND_DISPLAY are not set): showing the position with vorek-cli instead of the window"
    build/cli/vorek-cli show --dir "$work"
    build/cli/vorek-cli picture --dir "$work" --out "$work/position.png" && log "picture: $work/position.png"
    return 0
  fi
  if [ -x build/app/visual-vorek ]; then
    exec build/app/visual-vorek "$work"
  else
    exec build/cli/vorek-cli show --dir "$work"
  fi
}

case "${1:-}" in
  run) shift; cmd_run "$@" ;;
  test) shift; cmd_test "$@" ;;
  bench) shift; cmd_bench "$@" ;;
  build) shift; cmd_build "$@" ;;
  fuzz) shift; cmd_fuzz "$@" ;;
  tsan) shift; cmd_tsan "$@" ;;
  *) sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2 ;;
esac
