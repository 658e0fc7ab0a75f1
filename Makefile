# Two entry points for a fresh Debian 12 machine: `make run` and `make test`.
BUILD_DIR   ?= build
RELEASE_DIR ?= build-release
JOBS        ?= $(shell nproc)

.PHONY: run test bench deps build release format clean

deps:
	@scripts/install-deps

# -O1 without debug information builds in half the time of -O2 -g on a 2-core machine; the
# benchmarks use their own release build.
build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1"
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/app/corvale

test: build
	scripts/run-tests $(BUILD_DIR)

release: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DCORVALE_BENCH=ON
	cmake --build $(RELEASE_DIR) -j $(JOBS)

bench: release
	bench/run-all $(RELEASE_DIR)

format:
	find . -path ./build -prune -o -path './build-*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(RELEASE_DIR)
