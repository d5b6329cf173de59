#!/usr/bin/env bash
# The Windows program: built with mingw-w64 from plain CMake and run under
# wine on every golden case, slip case, example and a few generated surveys
# (against the Linux program), a second run in the same folder, non-ASCII
# names and an interrupted run (tests/platforms/wine_cases.py).
#
#   tests/platforms/windows.sh          (make test-windows)
#
# BUILD (default build-windows) is the Windows build folder; BUILD/linux
# holds the Linux program and the survey generator it is compared with.
# Installs mingw-w64 and wine when they are missing and this runs as root.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${BUILD:-$ROOT/build-windows}
JOBS=${JOBS:-2}
start=$(date +%s)

need=()
command -v x86_64-w64-mingw32-g++-posix > /dev/null || need+=(g++-mingw-w64-x86-64-posix)
command -v wine > /dev/null || need+=(wine wine64)
command -v python3 > /dev/null || need+=(python3)
if ((${#need[@]})); then
  if [ "$(id -u)" != 0 ]; then
    echo "windows.sh: missing ${need[*]}: apt-get install ${need[*]}" >&2
    exit 1
  fi
  apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${need[@]}"
fi

mkdir -p "$BUILD"
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/x86_64-w64-mingw32.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DECO_TESTS=OFF -DECO_PLATFORM_PROBES=ON \
  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON > "$BUILD/configure.log" 2>&1 ||
  { cat "$BUILD/configure.log"; exit 1; }
cmake --build "$BUILD" -j "$JOBS" --target ecoassess interrupt_probe
cmake -S "$ROOT" -B "$BUILD/linux" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DECO_TESTS=OFF \
  -DECO_BENCH=ON \
  > "$BUILD/linux-configure.log" 2>&1 || { cat "$BUILD/linux-configure.log"; exit 1; }
cmake --build "$BUILD/linux" -j "$JOBS" --target ecoassess make_survey
built=$(date +%s)

# A wine of its own, in the build folder; names pass as UTF-8.
export WINEPREFIX="$BUILD/wine" WINEDEBUG=-all LC_ALL=C.UTF-8
[ -d "$WINEPREFIX" ] || wineboot -i > /dev/null 2>&1
status=0
python3 "$ROOT/tests/platforms/wine_cases.py" --exe "$BUILD/app/ecoassess.exe" \
  --probe "$BUILD/tests/platforms/probe/interrupt_probe.exe" --linux "$BUILD/linux/app/ecoassess" \
  --survey "$BUILD/linux/bench/make_survey" --work "$BUILD/runs" --jobs "$JOBS" || status=$?
wineserver -k 2> /dev/null || true
end=$(date +%s)
echo "windows.sh: build $((built - start)) s, wine runs $((end - built)) s"
exit $status
