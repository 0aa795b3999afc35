# Two commands matter: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)
# ccache hits across checkouts in different folders (a fresh clone, CI).
export CCACHE_BASEDIR ?= $(CURDIR)
# Debug info names the build folder; without this a fresh clone would miss every entry.
export CCACHE_NOHASHDIR ?= 1

.PHONY: all deps configure build test run test-asan test-windows release-check fuzz bench samples package format clean windows-qt windows

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DR470_WERROR=ON

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	@BUILD=$(BUILD) scripts/run.sh

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DR470_SANITIZE=ON -DR470_BENCH=OFF -DR470_WERROR=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# tdrtool.exe and the core tests cross-built for Windows (build-win/) and run under Wine,
# with the Linux build's tdrtool as the reference and the simulated instrument.
test-windows: build
	@BUILD=$(BUILD) scripts/test-windows.sh

# A packager's Release build must stay free of warnings: the core library and tdrtool (which
# takes the window layer with it for "render") at Release, warnings as errors.
release-check: deps
	cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DR470_WERROR=ON -DR470_TESTS=OFF -DR470_BENCH=OFF
	cmake --build build-release -j $(JOBS) --target r470core tdrtool

fuzz:
	@scripts/install-deps.sh --fuzz
	scripts/fuzz.sh

bench: build
	for b in $(BUILD)/bench/*_bench; do $$b; done

# The Debian package (build/r470_VERSION_ARCH.deb), made by CPack from the build tree.
package: build
	cd $(BUILD) && cpack -G DEB

samples: build
	scripts/make-samples.sh $(BUILD)/tdrtool

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) build-asan build-fuzz build-win build-win-core build-release

# The Windows program and its installer (build-win/r470-VERSION-win64-setup.exe), with every
# test that runs under Wine; the first run on a machine builds Qt for Windows (below).
windows: build
	@BUILD=$(BUILD) scripts/windows.sh

# Qt 6 for Windows, built once per machine from Debian's qt6-base source into
# ~/.cache/r470/ (about half an hour on two cores); prints the install folder.
windows-qt:
	@scripts/build-qt-windows.sh
