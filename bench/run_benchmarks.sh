#!/usr/bin/env bash
# Runs the benchmark surveys side by side: the literal evaluation
# (literal_ecoassess, from the test support) and the program on 1 and 2
# threads, checks that all three give the same bytes, and prints time,
# ratio and peak memory (/usr/bin/time -v). The single-thread ratio is
# taken on CPU time (user + system), which other work on the machine
# disturbs less than wall time; the two-thread speedup is on wall time, so
# it means something only on an otherwise idle machine (the load average
# is printed first).
#
#   bench/run_benchmarks.sh [SURVEY...]
#
# SURVEY is one of dense, sparse, ladder50, ladder100, ladder200, ladder400,
# big (default: all). BUILD (default build-bench) is the build directory,
# WORK (default /tmp/ecoassess-bench) where the surveys are written and run.
# NO_LITERAL=1 skips the literal evaluation (it takes minutes on the sparse
# survey; the big survey never runs it: its dense matrices would take 3 GB).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build-bench}
WORK=${WORK:-/tmp/ecoassess-bench}
surveys=("$@")
[ ${#surveys[@]} -eq 0 ] && surveys=(dense sparse ladder50 ladder100 ladder200 ladder400 big)

if [ ! -x /usr/bin/time ]; then
  apt-get update -qq && apt-get install -y -qq time >/dev/null
fi
# A new build directory needs no tests; an existing one keeps its settings.
fresh=()
[ -f "$BUILD/CMakeCache.txt" ] || fresh=(-DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF)
cmake -S . -B "$BUILD" "${fresh[@]}" -DECO_BENCH=ON >/dev/null
cmake --build "$BUILD" -j 2 --target ecoassess literal_ecoassess make_survey >/dev/null
program=$PWD/$BUILD/app/ecoassess
# The literal evaluation: under bench/ in a build without tests, under
# tests/ in one with them.
literal=
for l in bench/support tests/support; do
  [ -x "$BUILD/$l/literal_ecoassess" ] && literal=$PWD/$BUILD/$l/literal_ecoassess && break
done
if [ -z "$literal" ] && [ "${NO_LITERAL:-0}" != 1 ]; then
  echo "run_benchmarks.sh: no literal_ecoassess in $BUILD (NO_LITERAL=1 runs without it)" >&2
  exit 1
fi
generator=$PWD/$BUILD/bench/make_survey

# The processors of a shared virtual machine need not run at the same speed
# (another guest may hold one of them): the literal evaluation and the
# single-thread run are both pinned to processor PIN_CPU (default 0), and
# the same small workload timed on each processor shows how far apart they
# are. Two threads can at best be 1 + slow/fast times faster than one on
# the faster processor.
pin=()
if command -v taskset >/dev/null 2>&1; then
  pin=(taskset -c "${PIN_CPU:-0}")
  speeds="" times=()
  for ((c = 0; c < $(nproc); c++)); do
    t=$( { /usr/bin/time -f %e taskset -c "$c" awk 'BEGIN { for (i = 0; i < 2e7; i++) s += i }'; } 2>&1)
    speeds="$speeds cpu$c ${t}s"
    times+=("$t")
  done
  bound=$(printf '%s\n' "${times[@]}" | sort -n | awk 'NR == 1 {f = $1} NR == 2 {printf "%.2fx", 1 + f / $1}')
  echo "the same workload on each processor:$speeds (two threads at best ${bound:-?} faster than one)"
fi

# run NAME DIR [PREFIX...] -- PROGRAM [OPTION...]: runs PROGRAM case.hdr
# OPTION... in a copy of DIR's inputs, behind PREFIX (e.g. taskset); sets
# $secs (wall), $cpu (user + system) and $peak (kB)
run() {
  local name=$1 dir=$2
  shift 2
  local prefix=()
  while [ "$1" != -- ]; do
    prefix+=("$1")
    shift
  done
  shift
  local prog=$1
  shift
  rm -rf "$dir/$name" && mkdir -p "$dir/$name"
  cp "$dir"/input/* "$dir/$name/"
  (cd "$dir/$name" && /usr/bin/time -v "${prefix[@]}" "$prog" case.hdr "$@" >stdout.txt 2>stderr.txt) || true
  cpu=$(awk -F': ' '/User time|System time/ {s += $2} END {printf "%.2f", s}' "$dir/$name/stderr.txt")
  secs=$(awk -F': ' '/Elapsed \(wall clock\)/ {n = split($2, t, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + t[i]; print s}' "$dir/$name/stderr.txt")
  peak=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$dir/$name/stderr.txt")
}

# same A B: every output file and standard output of run A equal to run B's
same() {
  local a=$1 b=$2 f
  for f in "$a"/*; do
    case $(basename "$f") in stderr.txt | case.hdr | survey.SPE | survey.ETP | survey.STA | survey.DAT) continue ;; esac
    cmp -s "$f" "$b/$(basename "$f")" || return 1
  done
  return 0
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg); $(nproc) processors"
printf '%-10s %8s | %9s | %9s %9s %7s | %9s %7s | %8s %8s | %s\n' survey input \
  literal 1thread 1thread ratio 2threads speedup peak limit bytes
printf '%-10s %8s | %9s | %9s %9s %7s | %9s %7s | %8s %8s | %s\n' "" kB cpu_s \
  cpu_s wall_s cpu wall_s wall MB MB ""
for s in "${surveys[@]}"; do
  case $s in
    ladder*) args=(ladder "${s#ladder}") ;;
    *) args=("$s") ;;
  esac
  dir=$WORK/$s
  rm -rf "$dir/input" && "$generator" "$dir/input" "${args[@]}" >/dev/null
  input=$(du -cb "$dir"/input/survey.* | tail -1 | cut -f1)
  run one "$dir" "${pin[@]}" -- "$program" --threads 1
  one=$secs one_cpu=$cpu one_peak=$peak
  run two "$dir" -- "$program" --threads 2
  two=$secs
  verdict=identical
  same "$dir/one" "$dir/two" || verdict=DIFFER
  lit_cpu=- ratio=-
  if [ "${NO_LITERAL:-0}" != 1 ] && [ "$s" != big ]; then
    run literal "$dir" "${pin[@]}" -- "$literal"
    lit_cpu=$cpu
    ratio=$(awk -v a="$lit_cpu" -v b="$one_cpu" 'BEGIN {printf "%.1fx", a / b}')
    same "$dir/one" "$dir/literal" || verdict=DIFFER
  fi
  speedup=$(awk -v a="$one" -v b="$two" 'BEGIN {printf "%.2fx", a / b}')
  printf '%-10s %8.0f | %9s | %9s %9s %7s | %9s %7s | %8.1f %8.1f | %s\n' "$s" \
    "$(awk -v b="$input" 'BEGIN {print b / 1000}')" "$lit_cpu" "$one_cpu" "$one" "$ratio" \
    "$two" "$speedup" "$(awk -v k="$one_peak" 'BEGIN {print k / 1024}')" \
    "$(awk -v b="$input" 'BEGIN {print 3 * b / 1048576 + 20}')" "$verdict"
  [ "$verdict" = identical ] || exit 1
done
