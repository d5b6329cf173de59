#!/usr/bin/env bash
# make test-platforms: the program built by other compilers, standard
# libraries and processors must write the same bytes as the native build.
#
#   clang-libstdc++   clang++ with libstdc++
#   clang-libc++      clang++ with libc++ (as on macOS)
#   gcc-ld64          g++ -mlong-double-64 (long double is double, as on
#                     macOS arm64 and MSVC)
#   aarch64           aarch64-linux-gnu-g++ (cmake/aarch64-linux-gnu.cmake),
#                     run under qemu-aarch64, the SVE path also with
#                     vectors of 128 and 256 bits; also the kernel tests
#                     (resample_test: the NEON, SVE and scalar kernels
#                     against the extended evaluation on constructed
#                     midpoints) with SVE vectors of 128 to 2048 bits
#   soft-extended     g++ with -DECO_SOFT_EXTENDED=ON (the emulated
#                     extended type on x86-64): the whole test suite
#
# Each builds with warnings as errors and without the tests (but for
# soft-extended), then runs every golden case, slip case, failure case and
# example and a few small generated surveys (tests/platforms/CMakeLists.txt)
# on each kernel path the build and the processor have, comparing every
# byte with the expectations; the surveys' expectations come from the
# native g++ build. The gcc-ld64 program must not call the C library's
# long double functions (their x87 versions take 80-bit arguments).
#
# Installs what it lacks (Debian packages). Builds in build-platforms/
# (PLATFORMS_BUILD to change it), JOBS=2 by default; a variant name or more
# as arguments runs only those. Exit status 0 only when everything passed;
# build-platforms/summary.txt lists each step.
set -uo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
out=${PLATFORMS_BUILD:-$root/build-platforms}
jobs=${JOBS:-2}
all_variants=(clang-libstdc++ clang-libc++ gcc-ld64 aarch64 soft-extended)
if (($#)); then variants=("$@"); else variants=("${all_variants[@]}"); fi
started=$(date +%s)

# Each package of the machine's own architecture (with the arm64 GoogleTest
# installed too, the bare name is ambiguous).
missing=()
for package in cmake make g++ clang libc++-dev libc++abi-dev g++-aarch64-linux-gnu qemu-user \
  libgtest-dev binutils; do
  dpkg -s "$package:$(dpkg --print-architecture)" >/dev/null 2>&1 || dpkg -s "$package" >/dev/null 2>&1 ||
    missing+=("$package")
done
# GoogleTest for arm64, for the kernel tests under qemu.
if ! dpkg -s libgtest-dev:arm64 >/dev/null 2>&1; then
  dpkg --add-architecture arm64
  missing+=(libgtest-dev:arm64)
fi
if ((${#missing[@]})); then
  echo "== installing ${missing[*]}"
  apt-get update >/dev/null && DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}" >/dev/null ||
    { echo "could not install ${missing[*]}" >&2; exit 1; }
fi

mkdir -p "$out"
summary=$out/summary.txt
: >"$summary"
failed=0
note() {  # RESULT STEP [DETAIL]
  printf '%-7s %-40s %s\n' "$1" "$2" "${3:-}" | tee -a "$summary"
  [ "$1" = passed ] || failed=1
}
elapsed() { echo "$(($(date +%s) - $1)) s"; }

# configure_and_build NAME TARGETS CMAKE-ARGS...: the log in NAME.log.
configure_and_build() {
  local name=$1 targets=$2 t0
  shift 2
  t0=$(date +%s)
  rm -f "$out/$name/CMakeCache.txt"
  if cmake -S "$root" -B "$out/$name" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON "$@" >"$out/$name.log" 2>&1 &&
    cmake --build "$out/$name" -j "$jobs" --target $targets >>"$out/$name.log" 2>&1; then
    note passed "$name: build" "$(elapsed "$t0")"
    return 0
  fi
  note FAILED "$name: build" "see $out/$name.log"
  return 1
}

# The kernel paths of x86-64 builds on this processor.
x86_paths=(scalar portable)
flags=$(grep -m1 '^flags' /proc/cpuinfo || true)
has() { [[ " $flags " == *" $1 "* ]]; }
has avx2 && has fma && x86_paths+=(avx2)
has avx2 && has fma && has avx512f && has avx512dq && has avx512vl && has avx512bw && x86_paths+=(avx512)

# run_cases NAME PROGRAM PATHS...: every case on every path.
run_cases() {
  local name=$1 program=$2 path t0 log failures
  shift 2
  cmake -S "$root/tests/platforms" -B "$out/cases-$name" -DECO_PROGRAM="$program" \
    -DECO_SURVEYS="$out/surveys" >"$out/cases-$name.log" 2>&1 ||
    { note FAILED "$name: cases" "see $out/cases-$name.log"; return; }
  for path in "$@"; do
    t0=$(date +%s)
    log=$out/cases-$name-$path.log
    if ECO_KERNEL=$path ctest --test-dir "$out/cases-$name" -j "$jobs" >"$log" 2>&1; then
      note passed "$name: $(grep -c 'Test *#' "$log") cases, $path" "$(elapsed "$t0")"
    else
      failures=$(grep -E '^[[:space:]]+[0-9]+ - .*\(Failed\)' "$log" |
        sed -E 's/^[[:space:]]+[0-9]+ - //; s/ \(Failed\)//' | tr '\n' ' ')
      note FAILED "$name: cases, $path" "$(grep -o '[0-9]* tests failed out of [0-9]*' "$log"): $failures"
    fi
  done
}

# The reference: the native g++ build, which also writes the generated
# surveys and their expected results.
configure_and_build native "ecoassess make_survey" -DBUILD_TESTING=OFF -DECO_BENCH=ON || {
  echo "the native build failed: nothing to compare with" >&2
  exit 1
}
rm -rf "$out/surveys" "$out/surveys-work"
surveys=("small1 small 1 11" "small2 small 2 12" "small3 small 3 13" "ladder40 ladder 40 14")
for s in "${surveys[@]}"; do
  set -- $s
  name=$1
  shift
  "$out/native/bench/make_survey" "$out/surveys/$name/input" "$@" >/dev/null &&
    cmake -DPROGRAM="$out/native/app/ecoassess" -DCASE_DIR="$out/surveys/$name" \
      -DWORK_DIR="$out/surveys-work/$name" -DUPDATE=ON -P "$root/tests/support/run_case.cmake" ||
    note FAILED "survey $name: written by the native build"
done

for variant in "${variants[@]}"; do
  case $variant in
    clang-libstdc++)
      configure_and_build "$variant" ecoassess -DBUILD_TESTING=OFF -DCMAKE_CXX_COMPILER=clang++ &&
        run_cases "$variant" "$out/$variant/app/ecoassess" "${x86_paths[@]}"
      ;;
    clang-libc++)
      configure_and_build "$variant" ecoassess -DBUILD_TESTING=OFF -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_CXX_FLAGS=-stdlib=libc++ &&
        run_cases "$variant" "$out/$variant/app/ecoassess" "${x86_paths[@]}"
      ;;
    gcc-ld64)
      if configure_and_build "$variant" ecoassess -DBUILD_TESTING=OFF \
        -DCMAKE_CXX_FLAGS=-mlong-double-64; then
        # Any call of the C library's long double functions (powl, sqrtl,
        # truncl, frexpl, ldexpl, strtold and their kin), or of the
        # standard library's long double overloads.
        libm='acos|acosh|asin|asinh|atan|atan2|atanh|cbrt|ceil|copysign|cos|cosh|erf|erfc|exp|exp2'
        libm+='|expm1|fabs|fdim|floor|fma|fmax|fmin|fmod|frexp|hypot|ilogb|ldexp|lgamma|llrint'
        libm+='|llround|log|log10|log1p|log2|logb|lrint|lround|modf|nan|nearbyint|nextafter'
        libm+='|nexttoward|pow|remainder|remquo|rint|round|scalbln|scalbn|sin|sinh|sqrt|tan|tanh'
        libm+='|tgamma|trunc'
        calls=$(nm -uC "$out/$variant/app/ecoassess" | sed -E 's/^ *U //' |
          grep -E "^((${libm})l|strtold)(@|$)|long double" | sort -u | tr '\n' ' ')
        if [ -z "$calls" ]; then
          note passed "$variant: no long double calls"
        else
          note FAILED "$variant: long double calls" "$calls"
        fi
        run_cases "$variant" "$out/$variant/app/ecoassess" "${x86_paths[@]}"
      fi
      ;;
    aarch64)
      if configure_and_build "$variant" ecoassess -DBUILD_TESTING=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/aarch64-linux-gnu.cmake"; then
        wrapper=$out/$variant/ecoassess-qemu
        printf '#!/bin/sh\nexec qemu-aarch64 -L /usr/aarch64-linux-gnu "%s" "$@"\n' \
          "$out/$variant/app/ecoassess" >"$wrapper"
        chmod +x "$wrapper"
        # NEON (portable), scalar and SVE code exist there (qemu's processor
        # has SVE, 512-bit vectors unless told otherwise); a request for an
        # x86 path must fall back to the portable one.
        run_cases "$variant" "$wrapper" portable scalar avx512 sve
        # SVE with vectors of 128 and 256 bits (sve-default-vector-length
        # counts bytes).
        for bytes in 16 32; do
          wrapper=$out/$variant/ecoassess-qemu-sve$bytes
          printf '#!/bin/sh\nexec qemu-aarch64 -cpu max,sve-default-vector-length=%s -L /usr/aarch64-linux-gnu "%s" "$@"\n' \
            "$bytes" "$out/$variant/app/ecoassess" >"$wrapper"
          chmod +x "$wrapper"
          run_cases "$variant-sve$bytes" "$wrapper" sve
        done
      fi
      gtest=/usr/lib/aarch64-linux-gnu/cmake/GTest
      if configure_and_build "$variant-tests" resample_test -DBUILD_TESTING=ON \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/aarch64-linux-gnu.cmake" -DGTest_DIR="$gtest" \
        -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=BOTH -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=BOTH; then
        # The SVE kernels with vectors of 512 bits (qemu's default), 128, 256
        # and 2048 bits.
        for bytes in 64 16 32 256; do
          t0=$(date +%s)
          log=$out/$variant-tests-sve$bytes.log
          if qemu-aarch64 -cpu max,sve-default-vector-length=$bytes -L /usr/aarch64-linux-gnu \
            "$out/$variant-tests/tests/resample/resample_test" >"$log" 2>&1; then
            note passed "$variant: kernel tests ($(grep -o '[0-9]* tests from' "$log" | head -1 | cut -d' ' -f1)), SVE ${bytes}B" "$(elapsed "$t0")"
          else
            note FAILED "$variant: kernel tests, SVE ${bytes}B" "see $log"
          fi
        done
      fi
      ;;
    soft-extended)
      if configure_and_build "$variant" all -DBUILD_TESTING=ON -DECO_SOFT_EXTENDED=ON; then
        t0=$(date +%s)
        log=$out/$variant-ctest.log
        if ctest --test-dir "$out/$variant" -j "$jobs" >"$log" 2>&1; then
          note passed "$variant: $(grep -c 'Test *#' "$log") tests" "$(elapsed "$t0")"
        else
          note FAILED "$variant: tests" "$(grep -o '[0-9]* tests failed out of [0-9]*' "$log"), see $log"
        fi
        run_cases "$variant" "$out/$variant/app/ecoassess" "${x86_paths[@]}"
      fi
      ;;
    *)
      note FAILED "unknown variant $variant" "(${all_variants[*]})"
      ;;
  esac
done

echo "== test-platforms took $(elapsed "$started"); summary in $summary"
exit $failed
