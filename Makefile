# The two entry points of a fresh checkout: `make run` and `make test`.
# Each installs what is missing, configures and builds; nothing else needs to be done by hand.

BUILD_DIR  ?= build
ASAN_DIR   ?= build-asan
FUZZ_DIR   ?= build-fuzz
# make fuzz: seconds per target, and which targets (all when empty).
FUZZ_SECONDS ?= 180
FUZZ_TARGETS ?=
# make test: seconds of fuzzing per target after its committed corpus.
FUZZ_CHECK_SECONDS ?= 5
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)

.PHONY: all deps build build-asan build-fuzz run test test-plain test-asan test-fuzz fuzz bench screenshots install package clean

all: build

deps:
	./scripts/install-deps

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

$(ASAN_DIR)/CMakeCache.txt:
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DQUILLMERE_SANITIZE=ON

# The core and the libFuzzer targets only, with clang (no Qt).
$(FUZZ_DIR)/CMakeCache.txt:
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMERE_FUZZ=ON \
	  -DCMAKE_CXX_COMPILER=clang++

build: deps $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j $(JOBS)

build-asan: deps $(ASAN_DIR)/CMakeCache.txt
	cmake --build $(ASAN_DIR) -j $(JOBS)

build-fuzz: deps $(FUZZ_DIR)/CMakeCache.txt
	cmake --build $(FUZZ_DIR) -j $(JOBS)

# Opens the editor; FILES="walls.fox import.fsh" opens a destination and a source.
run: build
	$(BUILD_DIR)/bin/quillmere $(FILES)

test-plain: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

test-asan: build-asan
	cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

# Every fuzz target over its committed corpus, then a few seconds of fuzzing.
test-fuzz: build-fuzz
	./fuzz/run-fuzz --check $(FUZZ_DIR) $(FUZZ_CHECK_SECONDS)

test: test-plain test-asan test-fuzz

# Fuzzes every target for FUZZ_SECONDS, one after another; new inputs go to
# $(FUZZ_DIR)/corpus/, findings to $(FUZZ_DIR)/findings/ (fuzz/README.md).
fuzz: build-fuzz
	./fuzz/run-fuzz $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

bench: build
	./bench/run-convert-bench
	./bench/run-picture-bench
	./bench/run-ui-bench
	./bench/run-undo-bench

# Rewrites docs/screenshots/ from sample files, on a private X server.
screenshots: build
	BUILD_DIR=$(BUILD_DIR) ./scripts/screenshots

# Installs the editor, its desktop entry, file types, icon, manual and man
# pages under PREFIX (default /usr/local); DESTDIR stages the files elsewhere.
PREFIX ?= /usr/local
install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# A Debian package of the same files, installed under /usr, in $(BUILD_DIR).
package: build
	cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR)
