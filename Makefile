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
            libcli11-dev nlohmann-json3-dev libpng-dev python3-meshio python3-vtk9 \
            python3-setuptools man-db dpkg-dev
PREFIX ?= /usr/local
PACKAGE_DIR ?= build-package
# The builds make drives build every optional part, so that a missing
# package fails the configure instead of leaving a part out; a bare
# `cmake -S . -B b` builds what it can.
PARTS_ON := -DGMD_BUILD_TESTS=ON -DGMD_BUILD_EXAMPLES=ON -DGMD_BUILD_TOOLS=ON -DGMD_BUILD_BINDINGS=ON \
            -DGMD_BUILD_BENCH=ON
CLANG_DIR ?= build-clang
WINDOWS_DIR ?= build-mingw64
WINDOWS32_DIR ?= build-mingw32
BIGENDIAN_DIR ?= build-s390x
I386_DIR ?= build-i386
# Cross builds: the library, the suite and write_model, nothing that needs
# host-only packages.
CROSS_FLAGS := -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGMD_BUILD_TOOLS=OFF -DGMD_BUILD_BINDINGS=OFF \
               -DGMD_BUILD_EXAMPLES=OFF -DGMD_BUILD_BENCH=OFF -DGMD_NATIVE_WRITE_MODEL=$(abspath $(BUILD_DIR))/tests/gmd_write_model
WINDOWS_PACKAGES := g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64
BIGENDIAN_PACKAGES := g++-s390x-linux-gnu qemu-user-static
I386_PACKAGES := g++-i686-linux-gnu qemu-user-static

.PHONY: all setup build asan check test test-asan test-tsan test-clang valgrind fuzz fuzz-build coverage demo docs install clean \
        package test-packages \
        native-writer check-windows check-bigendian check-i386 \
        bench bench-instructions bench-tool bench-python

all: build

# Installs those of the Debian packages $(1) that are missing.
define install_packages
	@missing=""; \
	if command -v dpkg-query >/dev/null 2>&1; then \
	  for p in $(1); do \
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
endef

setup:
	$(call install_packages,$(PACKAGES))

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(PARTS_ON) $(CMAKE_FLAGS)

$(ASAN_DIR)/CMakeCache.txt:
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGMD_SANITIZE=ON $(PARTS_ON) $(CMAKE_FLAGS)

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
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target read_fuzzer sequence_fuzzer scan_fuzzer stl_fuzzer obj_fuzzer

# Runs each harness for FUZZ_SECONDS (make fuzz FUZZ_SECONDS=600), starting
# from the checked-in corpus; new inputs go to a scratch folder.
fuzz: fuzz-build
	for seeds in fuzz/corpus/read fuzz/corpus/sequence \
	             tests/kit/fuzz/corpus/scan tests/kit/fuzz/corpus/stl tests/kit/fuzz/corpus/obj; do \
	  h=$$(basename $$seeds) && mkdir -p $(FUZZ_DIR)/corpus-$$h && \
	  $(FUZZ_DIR)/fuzz/$${h}_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    $(FUZZ_DIR)/corpus-$$h $$seeds || exit 1; \
	done

# Line and branch coverage of src/ by the test suite.
coverage: setup
	cmake -S . -B $(COVERAGE_DIR) -DCMAKE_BUILD_TYPE=Debug -DGMD_BUILD_EXAMPLES=OFF \
	  -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage -DCMAKE_SHARED_LINKER_FLAGS=--coverage $(CMAKE_FLAGS)
	cmake --build $(COVERAGE_DIR) -j $(JOBS)
	# The install tests build clients without the coverage runtime.
	cd $(COVERAGE_DIR) && ctest -j $(JOBS) -E '^install_' >/dev/null
	gcovr -r . --filter 'src/' --exclude-unreachable-branches --exclude-throw-branches $(COVERAGE_DIR)

# The library and its suite built with clang (gcc builds the others), without
# the parts that only the gcc build needs to cover.
test-clang: setup
	cmake -S . -B $(CLANG_DIR) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	  -DGMD_BUILD_TOOLS=OFF -DGMD_BUILD_BINDINGS=OFF -DGMD_BUILD_EXAMPLES=OFF -DGMD_BUILD_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(CLANG_DIR) -j $(JOBS)
	cd $(CLANG_DIR) && ctest --output-on-failure -j $(JOBS) -E 'api_reference|^install_'

# Every test: plain, under ASan/UBSan, the thread test under TSan, valgrind,
# a short run of each fuzz harness, the clang build, and the Debian packages
# installed, used and removed again.
check: test-asan test-tsan valgrind fuzz test test-clang test-packages

# write_model of the native build, which cross builds compare their output with.
native-writer: setup $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j $(JOBS) --target gmd_write_model

# gmd.dll for 64-bit Windows: its exports and imports, the suite and
# write_model under Wine. gmd.dll for 32-bit Windows: built, exports and
# imports checked (its programs need a 32-bit Wine, see docs/portability.md).
check-windows: native-writer
	$(call install_packages,$(WINDOWS_PACKAGES))
	cmake -S . -B $(WINDOWS_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-x86_64.cmake $(CROSS_FLAGS)
	cmake --build $(WINDOWS_DIR) -j $(JOBS)
	cd $(WINDOWS_DIR) && WINEPREFIX=$(abspath $(WINDOWS_DIR))/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
	  ctest --output-on-failure -E api_reference
	cmake -S . -B $(WINDOWS32_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-i686.cmake $(CROSS_FLAGS)
	cmake --build $(WINDOWS32_DIR) -j $(JOBS) --target gmd gmd_tests gmd_write_model
	cd $(WINDOWS32_DIR) && ctest --output-on-failure -R exported_symbols

# The suite under qemu on s390x, a big-endian host, and write_model's file
# there byte for byte the native one.
check-bigendian: native-writer
	$(call install_packages,$(BIGENDIAN_PACKAGES))
	cmake -S . -B $(BIGENDIAN_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/s390x-linux-gnu.cmake $(CROSS_FLAGS)
	cmake --build $(BIGENDIAN_DIR) -j $(JOBS)
	cd $(BIGENDIAN_DIR) && ctest --output-on-failure -E api_reference

# The suite under qemu on 32-bit x86 Linux: 32-bit sizes and pointers, as in
# the 32-bit DLL, where Wine cannot run the Windows programs.
check-i386: native-writer
	$(call install_packages,$(I386_PACKAGES))
	cmake -S . -B $(I386_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/i686-linux-gnu.cmake $(CROSS_FLAGS)
	cmake --build $(I386_DIR) -j $(JOBS)
	cd $(I386_DIR) && ctest --output-on-failure -E api_reference

# Benchmarks, not part of check: the table of docs/performance.md (a few
# minutes; scratch files in a temporary folder under $(BUILD_DIR)), and the
# instructions per record of the triangle loops under callgrind.
bench: build
	cd $(BUILD_DIR) && ./bench/gmd_bench --benchmark_color=false
	cd $(BUILD_DIR) && ./bench/kit_bench --benchmark_color=false

bench-instructions: build
	bench/instructions.sh $(BUILD_DIR)/bench/gmd_bench_calls

# The gmd tool against the library's read loop on a file of BENCH_TRIANGLES
# triangles, in the same run (the ratios of docs/performance.md).
BENCH_TRIANGLES ?= 5000000
bench-tool: build
	/usr/bin/python3 bench/tool_bench.py $(BUILD_DIR) $(BENCH_TRIANGLES)

# gmd.read_mesh and gmd.write_mesh against the C loops, 5,000,000 triangles
# (about 1 GB of scratch files and memory).
bench-python: build
	GMD_LIBRARY=$(abspath $(BUILD_DIR))/libgmd.so GMDKIT_LIBRARY=$(abspath $(BUILD_DIR))/kit/libgmdkit.so \
	  PYTHONPATH=bindings/python /usr/bin/python3 bench/python_mesh.py $(BUILD_DIR)/bench/gmd_bench_loops \
	  $(BUILD_DIR)/bench-python

demo: build
	$(BUILD_DIR)/examples/gmd_demo example.gmd
	$(BUILD_DIR)/tools/gmd info example.gmd
	$(BUILD_DIR)/tools/gmd check example.gmd
	$(BUILD_DIR)/tools/gmd convert example.gmd example.vtu
	$(BUILD_DIR)/tools/gmd render example.gmd -o example.png

# API reference from gmd.h into $(BUILD_DIR)/docs/html; a Doxygen warning fails it.
docs: build
	cmake --build $(BUILD_DIR) --target docs

# Everything under $(PREFIX): libgmd and gmdkit (shared and static), their
# headers, the CMake package, gmd.pc, gmdkit.pc, gmd-fortran.pc and the Fortran
# module, the gmd command and its man page, the Python package. The prefix is
# configured, not only given to the install, because it decides the libdir
# and where the Python package goes.
install: setup $(BUILD_DIR)/CMakeCache.txt
	cmake -S . -B $(BUILD_DIR) -DCMAKE_INSTALL_PREFIX=$(abspath $(PREFIX))
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cmake --install $(BUILD_DIR)

# Debian packages libgmd1, libgmd-dev, gmd-tools and python3-gmd in
# $(PACKAGE_DIR), from a build for the prefix /usr.
package: setup
	cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
	  -DGMD_BUILD_TOOLS=ON -DGMD_BUILD_BINDINGS=ON -DGMD_BUILD_TESTS=OFF -DGMD_BUILD_EXAMPLES=OFF \
	  -DGMD_BUILD_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(PACKAGE_DIR) -j $(JOBS)
	cd $(PACKAGE_DIR) && cpack -G DEB

# Installs the packages on this machine (as root), uses each from a clean
# shell, and removes them again.
test-packages: package
	tests/install/debian_packages.sh $(PACKAGE_DIR)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(CLANG_DIR) $(PACKAGE_DIR) $(WINDOWS_DIR) $(WINDOWS32_DIR) $(BIGENDIAN_DIR) $(I386_DIR) example.gmd example.vtu example.png
