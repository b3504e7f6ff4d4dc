# Quick start: `make demo` and `make check`. Both install what is missing
# (Debian packages, when run as root) and configure and build first.

BUILD_DIR ?= build
ASAN_DIR ?= build-asan
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
FUZZ_DIR ?= build-fuzz
TSAN_DIR ?= build-tsan
COVERAGE_DIR ?= build-coverage
FUZZ_SECONDS ?= 30
PACKAGES := cmake make gcc g++ binutils libgtest-dev clang libclang-rt-14-dev valgrind gcovr \
            gfortran python3 python3-numpy python3-pytest doxygen pkg-config libbenchmark-dev \
            libcli11-dev nlohmann-json3-dev libpng-dev python3-meshio python3-vtk9
PREFIX ?= /usr/local

.PHONY: all setup build asan check test test-asan test-tsan valgrind fuzz fuzz-build coverage demo docs install clean \
        bench bench-instructions

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

# The thread test under ThreadSanitizer.
test-tsan: setup
	cmake -S . -B $(TSAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DGMD_BUILD_EXAMPLES=OFF \
	  -DCMAKE_CXX_FLAGS=-fsanitize=thread -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread $(CMAKE_FLAGS)
	cmake --build $(TSAN_DIR) -j $(JOBS) --target gmd_tests
	TSAN_OPTIONS=halt_on_error=1 $(TSAN_DIR)/tests/gmd_tests --gtest_filter='*Thread*'

# The whole suite once under valgrind memcheck: no error, no leak.
valgrind: build
	valgrind --quiet --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=all \
	  --show-leak-kinds=definite,indirect,possible $(BUILD_DIR)/tests/gmd_tests --gtest_brief=1

fuzz-build: setup
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	  -DGMD_BUILD_FUZZERS=ON -DGMD_BUILD_TESTS=OFF -DGMD_BUILD_EXAMPLES=OFF $(CMAKE_FLAGS)
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target read_fuzzer sequence_fuzzer

# Runs each harness for FUZZ_SECONDS (make fuzz FUZZ_SECONDS=600), starting
# from the checked-in corpus; new inputs go to a scratch folder.
fuzz: fuzz-build
	for h in read sequence; do \
	  mkdir -p $(FUZZ_DIR)/corpus-$$h && \
	  $(FUZZ_DIR)/fuzz/$${h}_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    $(FUZZ_DIR)/corpus-$$h fuzz/corpus/$$h || exit 1; \
	done

# Line and branch coverage of src/ by the test suite.
coverage: setup
	cmake -S . -B $(COVERAGE_DIR) -DCMAKE_BUILD_TYPE=Debug -DGMD_BUILD_EXAMPLES=OFF \
	  -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage -DCMAKE_SHARED_LINKER_FLAGS=--coverage $(CMAKE_FLAGS)
	cmake --build $(COVERAGE_DIR) -j $(JOBS)
	cd $(COVERAGE_DIR) && ctest -j $(JOBS) >/dev/null
	gcovr -r . --filter 'src/' --exclude-unreachable-branches --exclude-throw-branches $(COVERAGE_DIR)

# Every test: plain, under ASan/UBSan, the thread test under TSan, valgrind,
# and a short run of each fuzz harness.
check: test-asan test-tsan valgrind fuzz test

# Benchmarks, not part of check: the table of docs/performance.md (a few
# minutes; scratch files in a temporary folder under $(BUILD_DIR)), and the
# instructions per record of the triangle loops under callgrind.
bench: build
	cd $(BUILD_DIR) && ./bench/gmd_bench --benchmark_color=false

bench-instructions: build
	bench/instructions.sh $(BUILD_DIR)/bench/gmd_bench_calls

demo: build
	$(BUILD_DIR)/examples/gmd_demo example.gmd
	$(BUILD_DIR)/tools/gmd info example.gmd
	$(BUILD_DIR)/tools/gmd check example.gmd
	$(BUILD_DIR)/tools/gmd convert example.gmd example.vtu
	$(BUILD_DIR)/tools/gmd render example.gmd -o example.png

# API reference from gmd.h into $(BUILD_DIR)/docs/html; a Doxygen warning fails it.
docs: build
	cmake --build $(BUILD_DIR) --target docs

# Libraries, header, CMake package and gmd.pc under $(PREFIX).
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) example.gmd example.vtu example.png
