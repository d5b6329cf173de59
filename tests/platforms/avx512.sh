#!/usr/bin/env bash
# The kernel tests on an emulated AVX-512 processor, for machines without
# one: the AVX-512 path is chosen only where the processor has it, so on
# any other machine its kernels are compiled but never run by make test.
#
# Bochs (Debian's package) emulates a Skylake-X processor with AVX-512
# instruction by instruction; it boots Debian's Linux kernel from a small
# CD image whose initial file system holds the statically linked test
# programs and a first process (avx512_init.cpp) that runs them on the
# serial console and powers the machine off. The kernel is told not to use
# XSAVES and XSAVEC: Bochs 2.7 reports the size of their compacted state
# wrongly, and the kernel would then turn off XSAVE and with it every AVX
# register.
#
# The tests: the kernel tests (resample_test: the held rows, list groups,
# float rows, profile sums and station draws of every path the emulated
# processor has, against the extended evaluation, constructed midpoints
# included) and the exactness tests (stats_test Exactness.*: every value of
# generated surveys on every path at 1, 2 and 7 threads). The emulation
# runs about 25 million instructions a second: about half an hour in all
# (the boot four minutes, the kernel tests 17, the exactness tests 6).
# Timing under it means nothing; its bytes do.
#
# Installs what it lacks (Debian packages). Builds in build-avx512/
# (AVX512_BUILD to change it); AVX512_FILTER narrows the kernel tests
# (a GoogleTest filter), AVX512_EXACTNESS=0 leaves the exactness tests
# out. Exit status 0 only when every test passed on a processor with
# AVX-512.
set -uo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
out=${AVX512_BUILD:-$root/build-avx512}
jobs=${JOBS:-2}

missing=()
for package in bochs bochsbios isolinux syslinux-common xorriso cpio g++ cmake libgtest-dev; do
  dpkg -s "$package:$(dpkg --print-architecture)" >/dev/null 2>&1 || dpkg -s "$package" >/dev/null 2>&1 ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  echo "== installing ${missing[*]}"
  apt-get update >/dev/null && DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}" >/dev/null ||
    { echo "could not install ${missing[*]}" >&2; exit 1; }
fi
mkdir -p "$out"

# Debian's kernel, from the package the metapackage names.
if [ ! -f "$out/vmlinuz" ]; then
  echo "== fetching Debian's kernel"
  package=$(apt-cache depends linux-image-amd64 | awk '/Depends: linux-image-/ {print $2; exit}')
  rm -rf "$out/kernel" && mkdir -p "$out/kernel"
  (cd "$out/kernel" && apt-get download "$package" >/dev/null 2>&1 && dpkg-deb -x ./*.deb root) ||
    { echo "could not fetch $package" >&2; exit 1; }
  cp "$out"/kernel/root/boot/vmlinuz-* "$out/vmlinuz" && rm -rf "$out/kernel"
fi

echo "== building the tests, statically linked"
cmake -S . -B "$out/build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXE_LINKER_FLAGS=-static \
  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null || exit 1
# The static C library warns that name lookups need its shared libraries;
# the tests look up no names.
cmake --build "$out/build" -j "$jobs" --target resample_test stats_test 2>&1 |
  grep -v "statically linked applications\|in function" | grep -E "error|warning" && exit 1
g++ -std=c++20 -O2 -static -Wall -Wextra -Werror -o "$out/init" tests/platforms/avx512_init.cpp || exit 1

echo "== making the boot image"
image=$out/image
rm -rf "$image" && mkdir -p "$image/root/dev" "$image/root/proc" "$image/cd/isolinux"
cp "$out/init" "$image/root/init"
cp "$out/build/tests/resample/resample_test" "$out/build/tests/stats/stats_test" "$image/root/"
{
  echo "/resample_test --gtest_filter=${AVX512_FILTER:-StationDraws.*:Kernels.*:KernelPaths.*}"
  [ "${AVX512_EXACTNESS:-1}" = 1 ] && echo "/stats_test --gtest_filter=Exactness.*"
} >"$image/root/tests.txt"
(cd "$image/root" && find . | cpio -o -H newc 2>/dev/null | gzip -1 >"$image/cd/initrd.gz")
cp "$out/vmlinuz" "$image/cd/vmlinuz"
cp /usr/lib/ISOLINUX/isolinux.bin /usr/lib/syslinux/modules/bios/ldlinux.c32 "$image/cd/isolinux/"
cat >"$image/cd/isolinux/isolinux.cfg" <<'EOF'
DEFAULT tests
PROMPT 0
TIMEOUT 0
LABEL tests
  KERNEL /vmlinuz
  APPEND initrd=/initrd.gz console=ttyS0 rdinit=/init clearcpuid=xsaves,xsavec mitigations=off loglevel=4
EOF
xorriso -as mkisofs -quiet -o "$image/boot.iso" -b isolinux/isolinux.bin -c isolinux/boot.cat \
  -no-emul-boot -boot-load-size 4 -boot-info-table "$image/cd" 2>/dev/null || exit 1

# No window: the display goes to a VNC server nobody connects to, the
# console to a file. The emulator starts in its debugger, told to go on.
cat >"$image/bochsrc" <<EOF
megs: 1024
cpu: model=corei7_skylake_x, count=1
romimage: file=/usr/share/bochs/BIOS-bochs-latest
vgaromimage: file=/usr/share/bochs/VGABIOS-lgpl-latest
ata0-master: type=cdrom, path=$image/boot.iso, status=inserted
boot: cdrom
com1: enabled=1, mode=file, dev=$image/console.txt
display_library: rfb, options="timeout=0"
log: $image/bochs.log
panic: action=fatal
error: action=ignore
info: action=ignore
clock: sync=none, time0=local
EOF
printf 'c\nquit\n' >"$image/debugger.txt"

echo "== running under bochs (console: $image/console.txt)"
started=$(date +%s)
(cd "$image" && timeout "${AVX512_TIMEOUT:-5400}" bochs -q -f bochsrc -rc debugger.txt \
  >bochs.out 2>&1 </dev/null) &
emulator=$!
# Bochs does not end when the machine powers off: the last line ends it.
while kill -0 "$emulator" 2>/dev/null; do
  if grep -aq "avx512-init: \(all passed\|FAILED\)" "$image/console.txt" 2>/dev/null; then
    sleep 2
    pkill -P "$emulator" 2>/dev/null
    kill "$emulator" 2>/dev/null
    break
  fi
  sleep 5
done
wait "$emulator" 2>/dev/null
grep -a "avx512-init:\|PASSED\|FAILED\|Skipped\|SKIPPED" "$image/console.txt" 2>/dev/null
echo "== $(($(date +%s) - started)) s under bochs"
grep -aq "avx512-init: all passed" "$image/console.txt" 2>/dev/null
