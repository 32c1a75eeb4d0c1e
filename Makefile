# The two commands that do everything on a fresh Debian machine:
#   make run   install what is missing, build, start quorvel on two demo cards
#   make test  install what is missing, build, run every test
PRESET ?= dev
BUILD_DIR := build/$(PRESET)

.PHONY: all deps build test run asan format clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake --preset $(PRESET) >/dev/null
	@cmake --build --preset $(PRESET)

test: build
	@ctest --preset $(PRESET)

run: build
	@scripts/run-demo.sh $(BUILD_DIR)

asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
