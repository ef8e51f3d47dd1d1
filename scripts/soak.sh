#!/bin/bash
# The long runs, apart from the test command: scripts/soak.sh [PART...]
#   native     the random user natively, $SOAK_EVENTS events (10,000,000), on a build made for
#              speed (build/soak, Release, no sanitizers; the test command's sanitizer build keeps
#              its 100,000)
#   fuzz       every fuzz target of tests/fuzz/, $SOAK_RUNS runs each (10,000,000), in build/fuzz
#              with the test command's corpora and dictionaries; what they find grows the corpus
#              in build/fuzz/corpus/<name>, kept for the test command's runs
#   fuzz:NAME  one fuzz target
#   wine-x64, wine-x86
#              the random user under Wine for each program, $SOAK_WINE_EVENTS events (100,000),
#              on a virtual display with the Wine prefix build/wine-soak (-x86)
# With no PART, all of them, one after the other. $SOAK_SEED (default: today's date, YYYYMMDD)
# seeds the random users. A progress line comes every minute; at the end, a table of each run's
# events or runs, seconds, rate and seed, also appended with the commit to bench/soak-results.md.
# A random user that fails prints the shortest list of events that still fails, as a replay line
# (TINTMARK_RANDOM_REPLAY); a fuzz target that fails leaves its input in build/fuzz/artifacts and
# a minimised one beside it.
set -uo pipefail
# shellcheck source=scripts/lib.sh
source "$(dirname "$0")/lib.sh"
cd "$TINTMARK_ROOT" || exit 1

events=${SOAK_EVENTS:-10000000}
wine_events=${SOAK_WINE_EVENTS:-100000}
runs=${SOAK_RUNS:-10000000}
seed=${SOAK_SEED:-$(date +%Y%m%d)}
results=bench/soak-results.md
parts=("$@")
[[ ${#parts[@]} -gt 0 ]] || parts=(native fuzz wine-x64 wine-x86)
for part in "${parts[@]}"; do
  case $part in
    native | fuzz | fuzz:* | wine-x64 | wine-x86) ;;
    *) echo "usage: $0 [native] [fuzz | fuzz:NAME] [wine-x64] [wine-x86]" >&2; exit 2 ;;
  esac
done

wants_x86=()
[[ " ${parts[*]} " != *" wine-x86 "* ]] || wants_x86=(--x86)
scripts/setup.sh --tests "${wants_x86[@]}"
case $? in 0 | 3) ;; *) exit 1 ;; esac
select_wine_loader

commit=$(git rev-parse --short HEAD 2>/dev/null || echo unknown)
[[ -z $(git status --porcelain --untracked-files=no 2>/dev/null) ]] || commit="$commit+changes"
rows=()
status=0

# watch LOG PID WHAT: a line a minute while PID runs, with the last count WHAT finds in LOG.
watch() {
  local log=$1 pid=$2 what=$3 start=$SECONDS next=$((SECONDS + 60))
  while kill -0 "$pid" 2>/dev/null; do
    sleep 1
    if ((SECONDS >= next)); then
      next=$((next + 60))
      echo "  $(date +%H:%M) $((SECONDS - start)) s: $($what "$log")"
    fi
  done
}
events_done() {
  local n
  n=$(tr -d '\r' <"$1" | sed -n 's/^random user: \([0-9]*\) events.*/\1/p' | tail -n 1)
  echo "${n:-0} events"
}
fuzz_done() {
  local line
  line=$(tr '\r' '\n' <"$1" | grep -E '^#[0-9]+' | tail -n 1)
  echo "${line:-starting}" | cut -c1-100
}

# row PART COUNT UNIT SECONDS SEED RESULT
row() {
  local rate=-
  (($4 > 0)) && rate=$(($2 / $4))
  rows+=("| $(date +%Y-%m-%d) | $commit | $1 | $2 $3 | $4 | $rate/s | $5 | $6 |")
  echo "$1: $6, $2 $3 in $4 s ($rate/s)"
}

# random_user PART COMMAND...: the random user, $count events of $seed, with a line a minute.
random_user() {
  local part=$1 log=build/soak/$1.log start=$SECONDS pid result
  shift
  mkdir -p build/soak
  echo "== $part: the random user, $count events, seed $seed (log: $log)"
  TINTMARK_RANDOM_EVENTS=$count TINTMARK_RANDOM_SEED=$seed TINTMARK_RANDOM_PROGRESS=60 \
    "$@" --gtest_color=no --gtest_filter='RandomUser.*' >"$log" 2>&1 &
  pid=$!
  watch "$log" "$pid" events_done
  wait "$pid"
  local code=$?
  if [[ $code -eq 0 ]] && tr -d '\r' <"$log" | grep -q '^\[  PASSED  \] 1 test'; then
    result=passed
  else
    result=FAILED
    status=1
    tr -d '\r' <"$log" | grep -E '^seed |^  [0-9]+ |^TINTMARK_RANDOM_REPLAY=' | head -n 60
    echo "  replay: TINTMARK_RANDOM_REPLAY=... $* --gtest_filter='RandomUser.*' (log: $log)"
  fi
  row "$part" "$count" events $((SECONDS - start)) "$seed" "$result"
}

soak_native() {
  cmake -S . -B build/soak -DCMAKE_BUILD_TYPE=Release -DTINTMARK_SANITIZE=OFF >/dev/null &&
    cmake --build build/soak -j2 --target tintmark_tests >/dev/null ||
    { echo "native: the build failed"; status=1; return; }
  count=$events random_user native build/soak/tintmark_tests
}

soak_fuzz() {
  local only=$1 source name log corpus start pid artifact args
  CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTINTMARK_FUZZ=ON >/dev/null && cmake --build build/fuzz -j2 >/dev/null ||
    { echo "fuzz: the build failed"; status=1; return; }
  for source in tests/fuzz/*.cpp; do
    name=$(basename "$source" .cpp)
    [[ -z $only || $only == "$name" ]] || continue
    corpus=build/fuzz/corpus/$name
    log=build/soak/fuzz-$name.log
    mkdir -p "$corpus" build/fuzz/artifacts build/soak
    args=(-runs="$runs" -print_final_stats=1 -artifact_prefix="build/fuzz/artifacts/$name-" "$corpus")
    [[ -d tests/fuzz/corpus/$name ]] && args+=("tests/fuzz/corpus/$name")
    [[ -f tests/fuzz/$name.dict ]] && args=(-dict="tests/fuzz/$name.dict" "${args[@]}")
    echo "== fuzz $name: $runs runs (log: $log)"
    start=$SECONDS
    "build/fuzz/fuzz_$name" "${args[@]}" >"$log" 2>&1 &
    pid=$!
    watch "$log" "$pid" fuzz_done
    if wait "$pid"; then
      row "fuzz $name" "$runs" runs $((SECONDS - start)) - passed
      continue
    fi
    status=1
    tail -n 30 "$log"
    artifact=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -n 1)
    if [[ -n $artifact ]]; then
      "build/fuzz/fuzz_$name" -minimize_crash=1 -max_total_time=60 \
        -exact_artifact_path="$artifact.min" "$artifact" >/dev/null 2>&1
      echo "  the input: $artifact (minimised: $artifact.min); again: build/fuzz/fuzz_$name $artifact"
    fi
    row "fuzz $name" "$(fuzz_done "$log" | sed -nE 's/^#([0-9]+).*/\1/p' | grep . || echo 0)" \
      runs $((SECONDS - start)) - FAILED
  done
}

soak_wine() {
  local arch=$1 dir
  dir=$(win_dir "$arch")
  if [[ $arch == x86 ]] && ! runs_32bit; then
    echo "wine-x86: not run: $(no_32bit_reason)"
    status=1
    return
  fi
  build_win_arch "$arch" --target tintmark_tests >/dev/null ||
    { echo "wine-$arch: the build failed"; status=1; return; }
  export WINEPREFIX=$TINTMARK_ROOT/build/wine-soak
  [[ $arch == x64 ]] || WINEPREFIX=$WINEPREFIX-x86
  scripts/wine-prefix.sh "$WINEPREFIX" || { echo "wine-$arch: no Wine prefix"; status=1; return; }
  # The display before any Wine program: a wineserver started without one keeps its desktop
  # without one, and the windows of every program after it are refused.
  start_xvfb || { status=1; return; }
  wineserver -p
  wine reg delete 'HKCU\Software\Mirabilis' /f >/dev/null 2>&1
  local factor=1
  [[ $arch == x86 && $(i386_road) == emulated ]] && factor=10
  TINTMARK_TIME_FACTOR=$factor count=$wine_events random_user "wine-$arch" wine "$dir/tintmark_tests.exe"
  wineserver -k 2>/dev/null
  stop_xvfb
}

trap 'wineserver -k 2>/dev/null; stop_xvfb' EXIT
for part in "${parts[@]}"; do
  case $part in
    native) soak_native ;;
    fuzz) soak_fuzz "" ;;
    fuzz:*) soak_fuzz "${part#fuzz:}" ;;
    wine-x64) soak_wine x64 ;;
    wine-x86) soak_wine x86 ;;
  esac
done

if [[ ${#rows[@]} -gt 0 ]]; then
  if [[ ! -f $results ]]; then
    printf '%s\n' "# The long runs (scripts/soak.sh)" "" \
      "| date | commit | run | events or runs | seconds | rate | seed | result |" \
      "|---|---|---|---:|---:|---:|---|---|" >"$results"
  fi
  printf '%s\n' "${rows[@]}" >>"$results"
  echo
  echo "| date | commit | run | events or runs | seconds | rate | seed | result |"
  printf '%s\n' "${rows[@]}"
  echo "(appended to $results)"
fi
exit "$status"
