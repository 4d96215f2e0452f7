# The two entry points of a fresh checkout: `make run` and `make test`.
# Each installs what is missing, configures and builds; nothing else needs to be done by hand.

BUILD_DIR  ?= build
ASAN_DIR   ?= build-asan
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)

.PHONY: all deps build build-asan run test test-plain test-asan bench screenshots install package clean

all: build

deps:
	./scripts/install-deps

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

$(ASAN_DIR)/CMakeCache.txt:
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DQUILLMERE_SANITIZE=ON

build: deps $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j $(JOBS)

build-asan: deps $(ASAN_DIR)/CMakeCache.txt
	cmake --build $(ASAN_DIR) -j $(JOBS)

# Opens the editor; FILES="walls.fox import.fsh" opens a destination and a source.
run: build
	$(BUILD_DIR)/bin/quillmere $(FILES)

test-plain: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

test-asan: build-asan
	cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

test: test-plain test-asan

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
	rm -rf $(BUILD_DIR) $(ASAN_DIR)
