# Quick start: `make demo` and `make check`. Both install what is missing
# (Debian packages, when run as root) and configure and build first.

BUILD_DIR ?= build
ASAN_DIR ?= build-asan
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
PACKAGES := cmake make gcc g++ binutils libgtest-dev gfortran python3-numpy python3-pytest doxygen pkg-config
PREFIX ?= /usr/local

.PHONY: all setup build asan check test test-asan demo docs install clean

all: build

setup:
	@missing=""; \
	if command -v dpkg-query >/dev/null 2>&1; then \
	  for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	  done; \
	fi; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "installing:$$missing"; \
	    apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	  else \
	    echo "missing Debian packages:$$missing (run as root to install them)" >&2; exit 1; \
	  fi; \
	fi

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

$(ASAN_DIR)/CMakeCache.txt:
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DGMD_SANITIZE=ON $(CMAKE_FLAGS)

build: setup $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j $(JOBS)

asan: setup $(ASAN_DIR)/CMakeCache.txt
	cmake --build $(ASAN_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

test-asan: asan
	cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# Every test, plain and under the sanitizers.
check: test-asan test

demo: build
	$(BUILD_DIR)/examples/gmd_demo example.gmd

# API reference from gmd.h into $(BUILD_DIR)/docs/html; a Doxygen warning fails it.
docs: build
	cmake --build $(BUILD_DIR) --target docs

# Libraries, header, CMake package and gmd.pc under $(PREFIX).
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) example.gmd
