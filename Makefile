# Two entry points for a fresh machine:
#   make example   builds the program and runs it on every example survey
#   make test      builds with warnings as errors and runs every test,
#                  then again under AddressSanitizer and UBSan
# and, for the other compilers and processors, make test-platforms.
JOBS ?= 2

.PHONY: all build example install test test-release test-sanitize test-platforms test-windows test-avx512 dist bench clean

all: build

build:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build build -j $(JOBS) --target ecoassess

# Each example runs in place, from its own folder, as `ecoassess NAME.hdr`;
# its results land beside its inputs (ignored by git).
EXAMPLES = $(sort $(patsubst examples/%/,%,$(dir $(wildcard examples/*/*.hdr))))

example: build
	@set -e; for e in $(EXAMPLES); do \
	  echo "== examples/$$e: ecoassess $$e.hdr"; \
	  (cd examples/$$e && ../../build/app/ecoassess $$e.hdr); \
	  echo "== results written to examples/$$e/"; \
	done

# make install PREFIX=/opt/eco puts the program into /opt/eco/bin, the
# manual page into /opt/eco/share/man/man1 and the guide, README, LICENSE
# and examples into /opt/eco/share/doc/ecoassess.
PREFIX ?= /usr/local
install: build
	cmake --install build --prefix "$(PREFIX)"

test: test-release test-sanitize

test-release:
	cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
	cmake --build build-test -j $(JOBS)
	ctest --test-dir build-test --output-on-failure -j $(JOBS)

test-sanitize:
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DECO_SANITIZE=ON -DBUILD_TESTING=ON -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
	cmake --build build-asan -j $(JOBS)
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest --test-dir build-asan --output-on-failure -j $(JOBS)

# The program built by clang (libstdc++ and libc++), g++ -mlong-double-64
# and the aarch64 cross compiler (run under qemu), every whole-run case on
# every kernel path, the whole suite with the emulated extended type, and
# the Windows program under wine (about 15 minutes; docs/platforms.md).
test-platforms:
	JOBS=$(JOBS) bash tests/platforms/run_platforms.sh
	JOBS=$(JOBS) bash tests/platforms/windows.sh

# The Windows program, built with mingw-w64 and run under wine on every
# golden case, slip case, example and a few generated surveys (minutes).
test-windows:
	JOBS=$(JOBS) bash tests/platforms/windows.sh

# The kernel and exactness tests on an emulated AVX-512 processor (bochs),
# for machines without one (about half an hour; docs/platforms.md).
test-avx512:
	JOBS=$(JOBS) bash tests/platforms/avx512.sh

# The release archives for Windows, Linux x86-64 and Linux aarch64 and the
# Debian package, in dist/ (installs the cross compilers it lacks).
dist:
	JOBS=$(JOBS) bash packaging/make_dist.sh

# The benchmark surveys side by side with the literal evaluation (minutes;
# see docs/performance.md); `make bench SURVEYS="dense ladder100"` for some.
bench:
	BUILD=build-bench bash bench/run_benchmarks.sh $(SURVEYS)

clean:
	rm -rf build build-test build-asan build-bench build-platforms build-windows build-avx512 build-dist dist
	rm -f $(foreach x,ASS SIM DEN BIO NSP tables.csv assessment.csv species.csv html,examples/*/*.$(x))
