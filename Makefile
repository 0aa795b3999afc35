# Two commands matter: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test run test-asan fuzz bench samples package format clean windows-qt

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
	rm -rf $(BUILD) build-asan build-fuzz

# Qt 6 for Windows, built once per machine from Debian's qt6-base source into
# ~/.cache/r470/ (about half an hour on two cores); prints the install folder.
windows-qt:
	@scripts/build-qt-windows.sh
