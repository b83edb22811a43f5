# The two commands a fresh Debian 12 machine needs: `make run` and `make test`.
BUILD_DIR      ?= build
ASAN_BUILD_DIR ?= build-asan
JOBS           ?= $(shell nproc)
CMAKE_FLAGS    ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
PREFIX         ?= /usr/local
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS   ?= 60
SDL12_COMPAT_DIR ?= $(shell scripts/sdl12-compat-dir)
# The version, as the build takes it from debian/changelog; asked only once cmake is installed.
VERSION = $(shell cmake -P cmake/Version.cmake)

.PHONY: all deps build run install uninstall deb test test-normal test-asan bench memcheck soak fuzz test-fuzz format clean \
        windows test-windows test-windows-e2e web web-serve test-web test-web-unit

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The game alone, quietly: the tests, the benchmark and the tools are built by `make test`. What the
# build printed is kept in RUN_LOG, and shown when it fails.
RUN_LOG = $(BUILD_DIR)/make-run.log
run: deps
	@echo "make run: building the game in $(BUILD_DIR)/ (its output in $(RUN_LOG))"
	@mkdir -p $(BUILD_DIR)
	@{ cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) && \
	    cmake --build $(BUILD_DIR) -j $(JOBS) --target starshards stage; } >$(RUN_LOG) 2>&1 || \
	    { tail -n 20 $(RUN_LOG); exit 1; }
	@echo "make run: starting $(BUILD_DIR)/starshards in $(BUILD_DIR)/run"
	@cd $(BUILD_DIR)/run && ../starshards

# Installs under $(PREFIX) (and $(DESTDIR), when set); uninstall removes exactly what was installed.
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

uninstall:
	sh dist/uninstall.sh $(BUILD_DIR)/install_manifest.txt

# The Debian package, built by debhelper in $(BUILD_DIR)/deb (kept, so a rebuild compiles only
# what changed) and written with its .buildinfo and .changes into $(BUILD_DIR). The build stamp
# is dropped first so that the package always has the current sources.
DEB_OUT := $(abspath $(BUILD_DIR))
DEB_NAME = starshards_$(VERSION)_$(shell dpkg --print-architecture)
deb: deps
	mkdir -p $(DEB_OUT)
	rm -f debian/debhelper-build-stamp
	STARSHARDS_DEB_BUILD_DIR=$(DEB_OUT)/deb STARSHARDS_DEB_DIR=$(DEB_OUT) \
	    dpkg-buildpackage -b -us -uc --no-pre-clean \
	    --buildinfo-option=-u$(DEB_OUT) --changes-option=-u$(DEB_OUT) \
	    --buildinfo-file=$(DEB_OUT)/$(DEB_NAME).buildinfo --changes-file=$(DEB_OUT)/$(DEB_NAME).changes

# The checkout as make test found it: the build directories are ignored, and a file the tests
# left or changed there shows as a status line that was not there before, which fails the run.
CHECKOUT_STATUS = git status --porcelain --untracked-files=all 2>/dev/null
ifneq ($(filter test,$(MAKECMDGOALS)),)
CHECKOUT_BEFORE_TEST := $(shell $(CHECKOUT_STATUS))
endif
test: test-normal test-fuzz test-asan test-windows test-windows-e2e test-web
	@left='$(filter-out $(CHECKOUT_BEFORE_TEST),$(shell $(CHECKOUT_STATUS)))'; \
	    [ -z "$$left" ] || { echo "make test left in the checkout: $$left" >&2; exit 1; }

test-normal: build deb
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD_DIR) $(CMAKE_FLAGS) -DSTARSHARDS_SANITIZE=ON
	cmake --build $(ASAN_BUILD_DIR) -j $(JOBS)
	cd $(ASAN_BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The same binaries on both SDL 1.2 libraries players have: the classic one, then sdl12-compat;
# then the Windows build under Wine, its prefix in the Windows build tree; then the browser build
# in headless Chromium, its benchmark's page built beside the game's.
BENCH_CPU = bash bench/cpu-usage.sh $(BUILD_DIR)/starshards assets
BENCH_KEYS = bash bench/key-latency.sh
KEY_LATENCY = $(BUILD_DIR)/bench/starshards-key-latency
BENCH_WINE = BENCH_WINEPREFIX=$(abspath $(WINDOWS_BUILD_DIR))/wine
BENCH_WEB = node bench/web.mjs
bench: build windows web
	cmake --build $(WEB_BUILD_DIR) -j $(JOBS) --target starshards-bench
	bash bench/run-bench.sh $(BUILD_DIR)/bench/starshards-bench $(BUILD_DIR)/bench.json
	LD_LIBRARY_PATH=$(SDL12_COMPAT_DIR) \
	    bash bench/run-bench.sh $(BUILD_DIR)/bench/starshards-bench $(BUILD_DIR)/bench-compat.json
	$(BENCH_WINE) bash bench/run-bench.sh $(WINDOWS_BUILD_DIR)/bench/starshards-bench.exe \
	    $(BUILD_DIR)/bench-windows.json
	$(BENCH_KEYS) $(BUILD_DIR)/starshards assets $(KEY_LATENCY) $(BUILD_DIR)/bench.json
	LD_LIBRARY_PATH=$(SDL12_COMPAT_DIR) \
	    $(BENCH_KEYS) $(BUILD_DIR)/starshards assets $(KEY_LATENCY) $(BUILD_DIR)/bench-compat.json
	$(BENCH_WINE) $(BENCH_KEYS) $(WINDOWS_BUILD_DIR)/starshards.exe assets $(KEY_LATENCY) \
	    $(BUILD_DIR)/bench-windows.json
	$(BENCH_WEB) figures $(WEB_BUILD_DIR) $(BUILD_DIR)/starshards-$(VERSION)-web.zip \
	    $(BUILD_DIR)/bench-web.json
	python3 bench/side-by-side.py $(BUILD_DIR)/bench.json $(BUILD_DIR)/bench-compat.json \
	    $(BUILD_DIR)/bench-windows.json $(BUILD_DIR)/bench-web.json
	$(BENCH_CPU)
	LD_LIBRARY_PATH=$(SDL12_COMPAT_DIR) $(BENCH_CPU)
	$(BENCH_WINE) bash bench/cpu-usage.sh $(WINDOWS_BUILD_DIR)/starshards.exe assets
	$(BENCH_WEB) cpu $(WEB_BUILD_DIR)
	bash bench/rock-cost.sh $(BUILD_DIR)

# The scripted game through every screen under valgrind: no invalid access, no uninitialised
# value, nothing lost.
memcheck: build
	cd $(BUILD_DIR) && ctest -R '^memcheck' --output-on-failure

# A million ticks of random keys across every screen, the game's invariants checked on each.
soak: build
	$(BUILD_DIR)/tests/play/starshards-soak --ticks 1000000

# libFuzzer (clang, ASan, UBSan) on the two file readers for FUZZ_SECONDS; test-fuzz is the short
# seeded run of `make test`. A finding stops make and leaves its input in $(FUZZ_BUILD_DIR).
FUZZ_DIR := $(abspath $(FUZZ_BUILD_DIR))
FUZZ_RUN ?= -max_total_time=$(FUZZ_SECONDS)
fuzz: deps
	cmake -S tests/fuzz -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++ $(CMAKE_FLAGS)
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	mkdir -p $(FUZZ_DIR)/corpus
	$(FUZZ_DIR)/fuzz_files $(FUZZ_DIR)/corpus $(CURDIR)/tests/fuzz/corpus \
	    -dict=$(CURDIR)/tests/fuzz/files.dict -max_len=70000 -timeout=10 \
	    -artifact_prefix=$(FUZZ_DIR)/ $(FUZZ_RUN)

test-fuzz:
	$(MAKE) fuzz FUZZ_RUN="-seed=1 -runs=20000"

# The Windows x86-64 game, cross-built with MinGW-w64: build-windows/starshards.exe with SDL.dll
# beside it, the font and pictures staged in build-windows/run, and in BUILD_DIR the zip and the
# installer players download. The libraries are built once (scripts/build-windows-deps);
# STARSHARDS_DEPS_DIR names a directory of their source archives.
WINDOWS_BUILD_DIR ?= build-windows
windows: deps
	prefix=$$(scripts/build-windows-deps $(WINDOWS_BUILD_DIR)) && \
	    cmake -S . -B $(WINDOWS_BUILD_DIR) $(CMAKE_FLAGS) \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DSTARSHARDS_WINDOWS_PREFIX=$$prefix \
	    -DSTARSHARDS_PACKAGE_DIR=$(abspath $(BUILD_DIR))
	cmake --build $(WINDOWS_BUILD_DIR) -j $(JOBS)

# The unit tests of the Windows game under Wine, in the Windows build tree's own Wine prefix.
test-windows: windows
	cd $(WINDOWS_BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The Windows game under Wine on Xvfb, from its zip and from its installer, each in a Wine
# prefix of its own made afresh in the Windows build tree.
WINE_E2E = bash tests/e2e/wine.sh
test-windows-e2e: windows
	$(WINE_E2E) zip $(BUILD_DIR)/starshards-$(VERSION)-win64.zip $(VERSION) \
	    $(WINDOWS_BUILD_DIR)/render-text.exe $(WINDOWS_BUILD_DIR)/wine-e2e-zip
	$(WINE_E2E) installer $(BUILD_DIR)/starshards-$(VERSION)-win64-setup.exe $(VERSION) \
	    $(WINDOWS_BUILD_DIR)/render-text.exe $(WINDOWS_BUILD_DIR)/wine-e2e-installer

# The browser game, built to WebAssembly by Emscripten: build-web/index.html with starshards.js,
# starshards.wasm and starshards.data beside it, and in BUILD_DIR the zip that any static web server
# serves as it is. The libraries are built once (scripts/build-web-deps); STARSHARDS_DEPS_DIR names
# a directory of their source archives. emcc's tools find Debian's acorn in /usr/share/nodejs
# also under a node that is not Debian's (also for the benchmark's page).
WEB_BUILD_DIR ?= build-web
WEB_PORT ?= 8000
web bench: export NODE_PATH := /usr/share/nodejs$(if $(NODE_PATH),:$(NODE_PATH))
web: deps
	prefix=$$(scripts/build-web-deps $(WEB_BUILD_DIR)) && \
	    emcmake cmake -S . -B $(WEB_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release \
	    -DSTARSHARDS_TESTS=OFF -DSTARSHARDS_BENCH=ON -DSTARSHARDS_WEB_PREFIX=$$prefix \
	    -DSTARSHARDS_PACKAGE_DIR=$(abspath $(BUILD_DIR))
	cmake --build $(WEB_BUILD_DIR) -j $(JOBS)

# Serves the browser game on http://127.0.0.1:$(WEB_PORT)/ for local play.
web-serve: web
	python3 -m http.server --bind 127.0.0.1 --directory $(WEB_BUILD_DIR) $(WEB_PORT)

# The browser game played through every screen in Debian's headless Chromium, served from its
# build tree on 127.0.0.1 at a free port, its texts compared with the Windows build's; then the
# unit tests built to WebAssembly.
test-web: web windows
	bash tests/web/run.sh $(WEB_BUILD_DIR) $(WINDOWS_BUILD_DIR)/render-text.exe
	$(MAKE) test-web-unit

# The unit tests that need no display, built by Emscripten with the browser game's libraries into
# a tree of their own and run under node (cmake/WebTests.cmake says which are left out, and why).
WEB_UNIT_BUILD_DIR ?= build-web-tests
test-web-unit: export NODE_PATH := /usr/share/nodejs$(if $(NODE_PATH),:$(NODE_PATH))
test-web-unit: deps
	prefix=$$(scripts/build-web-deps $(WEB_BUILD_DIR)) && \
	    emcmake cmake -S . -B $(WEB_UNIT_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release \
	    -DSTARSHARDS_BENCH=OFF -DSTARSHARDS_WEB_PREFIX=$$prefix
	cmake --build $(WEB_UNIT_BUILD_DIR) -j $(JOBS) --target web_unit_tests
	cd $(WEB_UNIT_BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

format:
	cmake -P cmake/Format.cmake

clean:
	rm -rf $(BUILD_DIR) $(ASAN_BUILD_DIR) $(FUZZ_BUILD_DIR)
