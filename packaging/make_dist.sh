#!/usr/bin/env bash
# make dist: the release files in dist/
#   ecoassess-VERSION-windows-x86_64.zip    (mingw-w64, static)
#   ecoassess-VERSION-linux-x86_64.tar.gz   (C++ runtime linked in)
#   ecoassess-VERSION-linux-aarch64.tar.gz  (cross-built the same way)
#   ecoassess_VERSION_amd64.deb
# each with the program, README, LICENSE, the guide and the examples with
# their expected outputs (cmake/packaging.cmake says where). Installs the
# cross compilers and packaging tools it lacks when it runs as root. The
# unpacked Windows archive then runs an example under wine, when wine is
# there, and must write its expected outputs.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build-dist}
OUT=$ROOT/dist
JOBS=${JOBS:-2}
start=$(date +%s)

need=()
command -v x86_64-w64-mingw32-g++-posix > /dev/null || need+=(g++-mingw-w64-x86-64-posix)
command -v aarch64-linux-gnu-g++ > /dev/null || need+=(g++-aarch64-linux-gnu)
command -v dpkg-shlibdeps > /dev/null || need+=(dpkg-dev)
command -v file > /dev/null || need+=(file)
if ((${#need[@]})); then
  if [ "$(id -u)" != 0 ]; then
    echo "make dist: missing ${need[*]}: apt-get install ${need[*]}" >&2
    exit 1
  fi
  apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${need[@]}"
fi

version=$(sed -n 's/^project(ecoassess VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
rm -rf "$OUT" "$BUILD/packages"
mkdir -p "$OUT" "$BUILD/packages"

# build NAME GENERATORS [cmake options...]
build() {
  local name=$1 generators=$2
  shift 2
  cmake -S "$ROOT" -B "$BUILD/$name" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DECO_TESTS=OFF "$@" > "$BUILD/$name.configure.log" 2>&1 ||
    { cat "$BUILD/$name.configure.log"; exit 1; }
  cmake --build "$BUILD/$name" -j "$JOBS" --target ecoassess
  (cd "$BUILD/$name" && cpack -G "$generators" -B "$BUILD/packages/$name" > ../$name.cpack.log) ||
    { cat "$BUILD/$name.cpack.log"; exit 1; }
  find "$BUILD/packages/$name" -maxdepth 1 -type f \( -name '*.zip' -o -name '*.tar.gz' \
    -o -name '*.deb' \) -exec mv {} "$OUT/" \;
}

build linux-x86_64 "TGZ;DEB" -DECO_STATIC_RUNTIME=ON
build windows-x86_64 ZIP -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/x86_64-w64-mingw32.cmake"
build linux-aarch64 TGZ -DECO_STATIC_RUNTIME=ON \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/aarch64-linux-gnu.cmake"

for f in "ecoassess-$version-windows-x86_64.zip" "ecoassess-$version-linux-x86_64.tar.gz" \
  "ecoassess-$version-linux-aarch64.tar.gz" "ecoassess_${version}_amd64.deb"; do
  [ -f "$OUT/$f" ] || { echo "make dist: $f was not made" >&2; exit 1; }
done

# The unpacked Windows archive runs an example from its own folder.
if command -v wine > /dev/null; then
  check="$BUILD/unpacked"
  rm -rf "$check"
  mkdir -p "$check"
  (cd "$check" && cmake -E tar xf "$OUT/ecoassess-$version-windows-x86_64.zip")
  top="$check/ecoassess-$version-windows-x86_64"
  export WINEPREFIX="$BUILD/wine" WINEDEBUG=-all LC_ALL=C.UTF-8
  [ -d "$WINEPREFIX" ] || wineboot -i > /dev/null 2>&1
  (cd "$top/examples/dune" && wine ../../ecoassess.exe dune.hdr < /dev/null > console.txt 2> /dev/null)
  for f in "$top"/examples/dune/expected/*; do
    cmp "$f" "$top/examples/dune/$(basename "$f")"
  done
  wineserver -k 2> /dev/null || true
  echo "make dist: the unpacked Windows program wrote the expected results of examples/dune"
fi
ls -l "$OUT"
echo "make dist: $(($(date +%s) - start)) s"
