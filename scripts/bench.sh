#!/bin/bash
# Measures Tintmark.exe against the floor (bench/win32/floor.cpp, a bare window like the main one):
#   start-up   CreateProcessW until the window is visible and the program idle, under Wine on a
#              virtual display, both programs alternated in one run (BENCH_ROUNDS pairs, default 31)
#              (and the processor time the program's own Unix process used until then)
#   memory     working set and private bytes of each, at that moment
#   size       Tintmark.exe as built (x64, Release, stripped)
#   work       instructions for one typed digit in a channel field and one ▲ press, natively
#              (Release, no sanitizers) under callgrind
# Builds in build/bench, uses the Wine prefix build/wine-bench, writes build/bench/report.md.
# BENCH_EXE=path measures that Tintmark.exe instead of the one built here (a build from before a
# change, say), against the same floor.
# Not part of scripts/test.sh: timings are measurements, never assertions.
set -euo pipefail
# shellcheck source=scripts/lib.sh
source "$(dirname "$0")/lib.sh"
cd "$TINTMARK_ROOT"

rounds=${BENCH_ROUNDS:-31}
out=build/bench
scripts/setup.sh valgrind
select_wine_loader

cmake -S . -B $out/win -DCMAKE_TOOLCHAIN_FILE="$TINTMARK_ROOT/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DTINTMARK_BUILD_TESTS=OFF -DTINTMARK_BUILD_BENCH=ON >/dev/null
cmake --build $out/win -j2 --target Tintmark bench_floor bench_launcher >/dev/null
cmake -S . -B $out/native -DCMAKE_BUILD_TYPE=Release -DTINTMARK_SANITIZE=OFF \
  -DTINTMARK_BUILD_TESTS=OFF -DTINTMARK_BUILD_BENCH=ON >/dev/null
cmake --build $out/native -j2 --target bench_keystroke >/dev/null

exe=$(realpath "${BENCH_EXE:-$out/win/Tintmark.exe}")

# --- start-up and memory
export WINEPREFIX="$TINTMARK_ROOT/build/wine-bench"
scripts/wine-prefix.sh "$WINEPREFIX" --demo
cleanup() {
  wineserver -k 2>/dev/null || true
  stop_xvfb
}
trap cleanup EXIT
start_xvfb
# Other work on the machine is the largest noise; where allowed (root), the display server, the
# Wine server and the programs measured run before it.
priority=()
if renice -n -10 -p "$XVFB_PID" >/dev/null 2>&1; then
  priority=(nice -n -10)
fi
"${priority[@]}" wineserver -p
echo "bench: $rounds pairs of starts" >&2
load_before=$(cut -d ' ' -f 1 /proc/loadavg)
"${priority[@]}" wine $out/win/bench_launcher.exe "$rounds" "$(winepath -w "$exe")" \
  "$(winepath -w $out/win/bench_floor.exe)" | tr -d '\r' >$out/starts.txt
load_after=$(cut -d ' ' -f 1 /proc/loadavg)
cleanup
trap - EXIT

# Column $2 of the lines of program $1 (0 Tintmark, 1 floor) in starts.txt, median.
median() { awk -v p="$1" -v c="$2" '$1 == "start" && $3 == p {print $c}' $out/starts.txt |
  sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
# Median over the rounds of Tintmark's column $1 divided by the floor's.
pair_ratio() { awk -v c="$1" '$1 == "start" {t[$2, $3] = $c} END {for (k in t) {split(k, r, SUBSEP);
  if (r[2] == 0 && t[r[1], 1] > 0) print t[r[1], 0] / t[r[1], 1]}}' $out/starts.txt | sort -g |
  awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
ratio=$(pair_ratio 4)
cpu_ratio=$(pair_ratio 9)
pairs=$(awk '$1 == "start" && $3 == 0' $out/starts.txt | wc -l)
late=$(awk '$1 == "start" && $8 == 1' $out/starts.txt | wc -l)
mib() { awk -v b="$1" 'BEGIN {printf "%.1f", b / 1048576}'; }
t_ms=$(median 0 4) f_ms=$(median 1 4)
t_cpu=$(median 0 9) f_cpu=$(median 1 9)
t_ws=$(median 0 5) f_ws=$(median 1 5)
t_pb=$(median 0 6) f_pb=$(median 1 6)
t_children=$(median 0 7) f_children=$(median 1 7)

# --- size
size=$(stat -c %s "$exe")
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\tDLL Name: //p' | tr '\n' ' ')

# --- work per event
instructions() {
  local file=$out/native/callgrind.$1.out
  valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file=$file \
    $out/native/bench_keystroke "$1" >$out/native/keystroke.$1.log 2>&1
  sed -n 's/^summary: //p' $file
}
typed=$(instructions type)
pressed=$(instructions up)

report=$out/report.md
{
  echo "Measured $(date -u '+%Y-%m-%d %H:%M UTC') at $(git rev-parse --short HEAD)$(git diff --quiet HEAD || echo ' (with changes)')"
  echo "on $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -n 1), $(nproc) cores,"
  echo "$(uname -sr), $(wine --version 2>/dev/null), Xvfb; $pairs pairs of starts ($late late),"
  [[ -z ${BENCH_EXE:-} ]] || echo "Tintmark.exe: $exe."
  echo "load average $load_before before the starts and $load_after after$([[ ${#priority[@]} -eq 0 ]] || echo ", measured at nice -10")."
  echo
  echo "| | Tintmark.exe | floor | Tintmark / floor |"
  echo "|---|---:|---:|---:|"
  echo "| start-up, median | $t_ms ms | $f_ms ms | $(awk -v a="$t_ms" -v b="$f_ms" 'BEGIN {printf "%.3f", a / b}') (median of pairs: $(printf '%.3f' "$ratio")) |"
  echo "| processor time of its Unix process until then, median | $t_cpu ms | $f_cpu ms | $(awk -v a="$t_cpu" -v b="$f_cpu" 'BEGIN {printf "%.3f", a / b}') (median of pairs: $(printf '%.3f' "$cpu_ratio")) |"
  echo "| working set, median | $(mib "$t_ws") MiB | $(mib "$f_ws") MiB | +$(mib $((t_ws - f_ws))) MiB |"
  echo "| private bytes, median | $(mib "$t_pb") MiB | $(mib "$f_pb") MiB | +$(mib $((t_pb - f_pb))) MiB |"
  echo "| child windows | $t_children | $f_children | |"
  echo "| size | $((size / 1024)) KiB ($size bytes) | $(($(stat -c %s $out/win/bench_floor.exe) / 1024)) KiB | |"
  echo
  echo "Tintmark.exe imports: $imports"
  echo
  echo "| one event, native Release | instructions |"
  echo "|---|---:|"
  echo "| digit typed in a channel field | $typed |"
  echo "| ▲ pressed | $pressed |"
} >$report
cat $report
