#!/bin/sh
# Builds the libFuzzer targets with clang and fuzzes one of them (or each in
# turn) for a given time. Installs clang and libFuzzer when they are missing.
#
#   tests/fuzz/run_fuzz.sh TARGET SECONDS     TARGET: records, header, run or all
#
# Environment: ECO_FUZZ_BUILD (build directory, default build-fuzz-clang in
# the source tree), ECO_FUZZ_ARGS (more libFuzzer flags, e.g. "-jobs=2").
# New inputs go to BUILD/fuzz-corpus/TARGET, crashes to
# BUILD/fuzz-artifacts/TARGET/; the seed corpus in tests/fuzz/corpus is only
# read. Exit status: libFuzzer's (non-zero when it found something).
set -eu

usage() {
  echo "usage: $0 records|header|run|all SECONDS" >&2
  exit 2
}
[ $# -eq 2 ] || usage
target=$1 seconds=$2
case $target in records | header | run | all) ;; *) usage ;; esac
case $seconds in '' | *[!0-9]*) usage ;; esac

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${ECO_FUZZ_BUILD:-$root/build-fuzz-clang}

# clang with libFuzzer: a one-line program must link with -fsanitize=fuzzer.
have_libfuzzer() {
  command -v clang++ >/dev/null 2>&1 || return 1
  probe=$(mktemp -d)
  printf '%s\n' '#include <cstdint>' '#include <cstddef>' \
    'extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }' \
    >"$probe/probe.cpp"
  ok=0
  clang++ -fsanitize=fuzzer "$probe/probe.cpp" -o "$probe/probe" >/dev/null 2>&1 || ok=1
  rm -rf "$probe"
  return $ok
}
if ! have_libfuzzer; then
  echo "installing clang and libFuzzer" >&2
  apt-get update >/dev/null
  DEBIAN_FRONTEND=noninteractive apt-get install -y clang libclang-rt-dev >/dev/null
  have_libfuzzer || { echo "clang cannot link libFuzzer programs" >&2; exit 1; }
fi

cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DECO_FUZZ=ON -DBUILD_TESTING=ON >/dev/null
if [ "$target" = all ]; then targets="records header run"; else targets=$target; fi
for t in $targets; do
  cmake --build "$build" -j2 --target "fuzz_$t" >/dev/null
done

status=0
for t in $targets; do
  found=$build/fuzz-corpus/$t
  artifacts=$build/fuzz-artifacts/$t
  mkdir -p "$found" "$artifacts"
  echo "fuzzing $t for $seconds s (new inputs: $found, crashes: $artifacts)" >&2
  # shellcheck disable=SC2086 # ECO_FUZZ_ARGS is a list of flags
  "$build/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
    -print_final_stats=1 -dict="$here/$t.dict" -artifact_prefix="$artifacts/" \
    ${ECO_FUZZ_ARGS:-} "$found" "$here/corpus/$t" || status=$?
done
exit $status
