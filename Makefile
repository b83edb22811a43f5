# The two commands a fresh Debian 12 machine needs: `make run` and `make test`.
BUILD_DIR      ?= build
ASAN_BUILD_DIR ?= build-asan
JOBS           ?= $(shell nproc)
CMAKE_FLAGS    ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps build run test test-normal test-asan bench format clean

all: build

deps:
	scripts/install-deps

build: deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	cd $(BUILD_DIR)/run && ../starshards

test: test-normal test-asan

test-normal: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD_DIR) $(CMAKE_FLAGS) -DSTARSHARDS_SANITIZE=ON
	cmake --build $(ASAN_BUILD_DIR) -j $(JOBS)
	cd $(ASAN_BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	bash bench/run-bench.sh $(BUILD_DIR)/bench/starshards-bench $(BUILD_DIR)/bench.json
	bash bench/cpu-usage.sh $(BUILD_DIR)/starshards assets \
	    $(BUILD_DIR)/tests/e2e/x11-close-window $(BUILD_DIR)/tests/e2e/x11-watch-windows

format:
	clang-format -i src/*.cpp src/*.h tests/*.cpp tests/*.h

clean:
	rm -rf $(BUILD_DIR) $(ASAN_BUILD_DIR)
