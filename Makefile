# Two entry points for a fresh machine:
#   make example   builds the program and runs it on every example survey
#   make test      builds with warnings as errors and runs every test,
#                  then again under AddressSanitizer and UBSan
# and, for the other compilers and processors, make test-platforms.
JOBS ?= 2

.PHONY: all build example install test test-release test-sanitize test-platforms bench clean

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

# make install PREFIX=/opt/eco puts the program into /opt/eco/bin.
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
# every kernel path, and the whole suite with the emulated extended type
# (about 10 minutes; docs/platforms.md).
test-platforms:
	JOBS=$(JOBS) bash tests/platforms/run_platforms.sh

# The benchmark surveys side by side with the literal evaluation (minutes;
# see docs/performance.md); `make bench SURVEYS="dense ladder100"` for some.
bench:
	BUILD=build-bench bash bench/run_benchmarks.sh $(SURVEYS)

clean:
	rm -rf build build-test build-asan build-bench build-platforms
	rm -f $(foreach x,ASS SIM DEN BIO NSP tables.csv assessment.csv species.csv html,examples/*/*.$(x))
