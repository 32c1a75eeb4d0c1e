# The commands that do everything on a fresh Debian machine:
#   make run   install what is missing, build, start quorvel on two demo cards
#   make test  install what is missing, build, run every test (also under the sanitizers)
#   make bench install what is missing, build the bench preset, print every performance figure
#   make deb   install what is missing, build the Debian package quorvel_<version>_<arch>.deb here
PRESET ?= dev
BUILD_DIR := build/$(PRESET)

.PHONY: all deps build test run bench asan fuzz deb format clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake --preset $(PRESET) >/dev/null
	@cmake --build --preset $(PRESET)

# The unit tests, then the core libraries' tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer (preset asan, no Qt).
test: build
	@ctest --preset $(PRESET)
	@$(MAKE) --no-print-directory asan

run: build
	@scripts/run-demo.sh $(BUILD_DIR)

bench: deps
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench
	@scripts/run-bench.sh build/bench

asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan

# The Release build of the package uses Debian's hardening flags; the package lands in the
# top folder of the checkout (sudo apt install ./quorvel_*.deb).
deb: deps
	@DEB_BUILD_MAINT_OPTIONS=hardening=+all; export DEB_BUILD_MAINT_OPTIONS; \
	  CXXFLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	  LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)" cmake --preset deb >/dev/null
	@cmake --build --preset deb
	@rm -rf build/deb/package
	@cpack -G DEB --config build/deb/CPackConfig.cmake -B build/deb/package >/dev/null
	@cp build/deb/package/quorvel_*.deb .
	@ls quorvel_*.deb

# make fuzz FUZZ_SECONDS=N [FUZZ_JOBS=J]: every fuzz target for N seconds, J processes each
# (clang build in build/fuzz).
FUZZ_SECONDS ?= 60
FUZZ_JOBS ?= 1
fuzz:
	@scripts/run-fuzz.sh --jobs $(FUZZ_JOBS) $(FUZZ_SECONDS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
