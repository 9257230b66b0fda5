# A thin layer over CMake: the same targets for developers and CI.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 15
MONKEY_DIR ?= build-monkey
MONKEY_SECONDS ?= 60
BUILD_TYPE ?= Release
CXX_COMPILER ?= clang++
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)
WEB_BUILD_DIR ?= build-emscripten
WEB_DIR ?= build-web

CONFIGURE = cmake -S . -G Ninja -DCMAKE_CXX_COMPILER=$(CXX_COMPILER)

.PHONY: all deps build run test bench bench-peer package fuzz sanitize monkey web web-test format \
	format-check lint clean

all: build

deps:
	@scripts/install-deps

$(BUILD_DIR)/build.ninja:
	$(CONFIGURE) -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@scripts/run-app $(BUILD_DIR)

# A test that hangs fails after 15 minutes (--timeout) instead of holding CI.
test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 900 -j $(JOBS)

# The core's figures (emulated instructions per second; a key, assembling, saving and opening on
# a 5,000-line program), start-up to a shown main window, then the side-by-side with sim65.
bench: build
	$(BUILD_DIR)/bench/zorvan_bench
	@scripts/bench-startup $(BUILD_DIR)
	@QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/zorvan_console_bench 2>/dev/null
	@scripts/bench-peer $(BUILD_DIR)

# The same counting loop run by zorvan-run and by sim65 (cc65), side by side.
bench-peer: build
	@scripts/bench-peer $(BUILD_DIR)

# A Debian package of the application, built with CPack, then checked in a temporary root.
package: build
	cd $(BUILD_DIR) && cpack -G DEB
	@scripts/check-package $(BUILD_DIR)

# The headless core and its tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	$(CONFIGURE) -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DZORVAN_GUI=OFF -DZORVAN_BENCH=OFF \
		-DZORVAN_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ctest --output-on-failure --timeout 900 -j $(JOBS)

# The whole application under seeded random keys, clicks, commands and window switches, with the
# sanitizers, for MONKEY_SECONDS (offscreen).
monkey: deps
	$(CONFIGURE) -B $(MONKEY_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVAN_BENCH=OFF \
		-DZORVAN_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(MONKEY_DIR) -j $(JOBS) --target zorvan_monkey
	@scripts/run-monkey $(MONKEY_DIR) $(MONKEY_SECONDS)

# Each libFuzzer target for FUZZ_SECONDS from its seed corpus (clang, sanitizers on).
fuzz: deps
	$(CONFIGURE) -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVAN_FUZZ=ON -DZORVAN_GUI=OFF \
		-DZORVAN_BENCH=OFF $(CMAKE_FLAGS)
	@scripts/run-fuzzers $(FUZZ_DIR) $(FUZZ_SECONDS)

# The browser edition: one static folder, $(WEB_DIR)/, built by Debian's emscripten.
web:
	@scripts/install-web-deps
	NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_BUILD_DIR) -G Ninja \
		-DCMAKE_BUILD_TYPE=Release -DZORVAN_WEB=ON -DZORVAN_WEB_OUTPUT=$(CURDIR)/$(WEB_DIR) $(CMAKE_FLAGS)
	NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD_DIR) -j $(JOBS) --target zorvan_web zorvan_page

# The core's tests under node against the WebAssembly build, then the page in headless Chromium,
# from a folder and from a local server.
web-test: web
	NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD_DIR) -j $(JOBS)
	cd $(WEB_BUILD_DIR) && ctest --output-on-failure --timeout 900 -j $(JOBS)
	@scripts/web-test $(WEB_DIR)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# Fails when a tracked source differs from what `make format` would write.
format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# clang-tidy with the checks in .clang-tidy, any finding an error; a file a job, JOBS at a time.
# It reads the compiler's flags from the build folder's compile_commands.json; the browser
# edition's C functions (src/web/exports.cpp) are built by emscripten alone, so have none there.
lint: $(BUILD_DIR)/build.ninja
	git ls-files 'src/*.cpp' 'tools/*.cpp' ':!src/web/exports.cpp' | \
		xargs -P $(JOBS) -n 1 clang-tidy -p $(BUILD_DIR) --quiet --warnings-as-errors='*'

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(MONKEY_DIR) $(WEB_BUILD_DIR) $(WEB_DIR)
