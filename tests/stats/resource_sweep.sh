#!/usr/bin/env bash
# Runs a small survey under a sweep of memory limits (ulimit -v) and thread
# counts and checks that every run ends in one of two ways: it succeeds with
# every output byte of the unlimited run (a thread the system would not
# start gives one warning line, nothing else), or it fails cleanly: the
# storage message, status 1, no output file and no temporary one left. A
# run that hangs (timeout), aborts or dies of a signal fails the sweep. A
# limit too small for the loader to map the program at all is counted, not
# judged (the program never ran).
#
#   resource_sweep.sh PROGRAM INPUT_DIR short|wide
#
# ECO_LONG_TESTS=1 in the environment makes a short sweep wide.
set -u
program=$(realpath "$1") input=$(realpath "$2") width=$3
case ${ECO_LONG_TESTS:-0} in '' | 0) ;; *) width=wide ;; esac
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
options=(--csv --html)

case $width in
  short) limits=(7000 7300 7600 8000 9000 12000 16000 20000 24000 30000) ;;
  wide) limits=($(seq 5000 100 12000) $(seq 12500 500 40000)) ;;
  *) echo "unknown sweep '$width'" >&2; exit 2 ;;
esac

mkdir "$work/reference"
cp "$input"/* "$work/reference/"
(cd "$work/reference" && "$program" case.hdr --threads 1 "${options[@]}" >../reference.out 2>../reference.err) || {
  echo "the unlimited run failed" >&2
  exit 1
}
inputs=$(ls "$input" | sort)

failures=0 succeeded=0 storage=0 unloaded=0
fail() {
  echo "limit $1 kB, $2 threads: $3" >&2
  failures=$((failures + 1))
}
for limit in "${limits[@]}"; do
  for threads in 1 2 7; do
    dir=$work/run
    rm -rf "$dir" && mkdir "$dir" && cp "$input"/* "$dir/"
    (cd "$dir" && ulimit -v "$limit" && exec timeout -s KILL 30 "$program" case.hdr --threads "$threads" "${options[@]}" >../run.out 2>../run.err)
    status=$?
    if [ $status -eq 127 ] && grep -Eq 'error while loading shared libraries|cannot allocate TLS data structures' "$work/run.err"; then
      unloaded=$((unloaded + 1))
      continue
    fi
    if [ $status -eq 137 ]; then
      fail "$limit" "$threads" "no end within 30 s"
      continue
    fi
    if [ $status -eq 0 ]; then
      ok=1
      cmp -s "$work/run.out" "$work/reference.out" || ok=0
      for f in "$work"/reference/*; do
        cmp -s "$f" "$dir/$(basename "$f")" || ok=0
      done
      [ "$(ls "$dir" | wc -l)" -eq "$(ls "$work/reference" | wc -l)" ] || ok=0
      # Standard error: the unlimited run's lines (its closing line with
      # another elapsed time) and at most one warning about threads.
      warned=$(grep -c '^warning: only [0-9]* of [0-9]* threads could be started' "$work/run.err")
      others=$(grep -v -e '^warning: only [0-9]* of [0-9]* threads could be started' -e '^done: ' "$work/run.err" | wc -l)
      [ "$warned" -le 1 ] && [ "$others" -eq "$(grep -vc '^done: ' "$work/reference.err")" ] || ok=0
      if [ $ok -eq 1 ]; then
        succeeded=$((succeeded + 1))
      else
        fail "$limit" "$threads" "succeeded with other outputs or messages: $(head -c 300 "$work/run.err")"
      fi
      continue
    fi
    if [ $status -eq 1 ] && grep -q 'storage for the run cannot be obtained' "$work/run.out"; then
      left=$(ls -A "$dir" | sort)
      if [ "$left" = "$inputs" ]; then
        storage=$((storage + 1))
      else
        fail "$limit" "$threads" "failed for want of storage but left: $(comm -13 <(echo "$inputs") <(echo "$left") | tr '\n' ' ')"
      fi
      continue
    fi
    fail "$limit" "$threads" "status $status: $(head -c 300 "$work/run.err") $(tail -c 200 "$work/run.out")"
  done
done
echo "$succeeded succeeded, $storage failed for want of storage, $unloaded could not be loaded, $failures failed"
[ $failures -eq 0 ] && [ $succeeded -gt 0 ]
