# Which parts of the tree are built. The libraries (libgmd, gmdkit) always
# are; every other part has an option GMD_BUILD_<PART> that is AUTO, ON or
# OFF:
#   AUTO  built when what it needs is found, else left out and named in the
#         one "not building" status line at the end of the configure;
#   ON    what it needs is required: configuring fails without it;
#   OFF   left out.
# Embedded with add_subdirectory() every part defaults to OFF, so a parent
# project gets the libraries only. After this file each GMD_BUILD_<PART> is
# also a plain ON/OFF variable, shadowing the cache entry, so that the
# subdirectories can test it with if().

# Records a part that is not built and why, for the summary line.
function(gmd_not_building part why)
  set_property(GLOBAL APPEND PROPERTY GMD_NOT_BUILDING "${part} (${why})")
endfunction()

# Declares the option and leaves its mode (AUTO, ON or OFF) in <mode_var>.
# A plain boolean (1, TRUE, NO, ...) counts as ON or OFF.
macro(gmd_part_option option doc mode_var)
  if(GMD_TOP_LEVEL)
    set(${option} AUTO CACHE STRING "${doc}: AUTO, ON or OFF")
  else()
    set(${option} OFF CACHE STRING "${doc}: AUTO, ON or OFF")
  endif()
  set_property(CACHE ${option} PROPERTY STRINGS AUTO ON OFF)
  string(TOUPPER "${${option}}" ${mode_var})
  if(NOT ${mode_var} STREQUAL "AUTO")
    if(${option})
      set(${mode_var} ON)
    else()
      set(${mode_var} OFF)
    endif()
  endif()
endmacro()

# find_package(<package> <args>) quietly when <mode> is AUTO, required when ON.
macro(gmd_find mode package)
  if("${mode}" STREQUAL "ON")
    find_package(${package} ${ARGN} REQUIRED)
  else()
    find_package(${package} ${ARGN} QUIET)
  endif()
endmacro()

# Ends the part: ON when nothing in the list `missing` is missing, else OFF
# with a line in the summary (or a failed configure when the part was asked for).
macro(gmd_part_result option mode part)
  if("${mode}" STREQUAL "OFF")
    set(${option} OFF)
  elseif(gmd_missing)
    string(REPLACE ";" ", " gmd_missing_text "${gmd_missing}")
    if("${mode}" STREQUAL "ON")
      message(FATAL_ERROR "${option}=ON, but the ${part} needs ${gmd_missing_text}")
    endif()
    gmd_not_building("${part}" "no ${gmd_missing_text}")
    set(${option} OFF)
  else()
    set(${option} ON)
  endif()
  set(gmd_missing "")
endmacro()
set(gmd_missing "")

# Tests: GoogleTest. A cross build compiles it from Debian's sources instead.
gmd_part_option(GMD_BUILD_TESTS "Build the test suite" tests_mode)
if(NOT tests_mode STREQUAL "OFF" AND NOT CMAKE_CROSSCOMPILING)
  gmd_find(${tests_mode} GTest)
  if(NOT GTest_FOUND)
    list(APPEND gmd_missing GoogleTest)
  endif()
endif()
gmd_part_result(GMD_BUILD_TESTS ${tests_mode} "test suite")

# Examples: nothing beyond the compilers.
gmd_part_option(GMD_BUILD_EXAMPLES "Build the examples" examples_mode)
gmd_part_result(GMD_BUILD_EXAMPLES ${examples_mode} "examples")

# The gmd tool: CLI11, nlohmann-json and libpng.
gmd_part_option(GMD_BUILD_TOOLS "Build the gmd command-line tool" tools_mode)
if(NOT tools_mode STREQUAL "OFF")
  gmd_find(${tools_mode} CLI11 CONFIG)
  gmd_find(${tools_mode} nlohmann_json CONFIG)
  gmd_find(${tools_mode} PNG)
  foreach(gmd_package CLI11 nlohmann_json PNG)
    if(NOT ${gmd_package}_FOUND)
      list(APPEND gmd_missing ${gmd_package})
    endif()
  endforeach()
endif()
gmd_part_result(GMD_BUILD_TOOLS ${tools_mode} "tool")

# The bindings: Fortran needs a Fortran compiler, Python an interpreter with
# numpy (GMD_PYTHON, Debian's by default). AUTO builds whichever it can; ON
# wants both. GMD_BUILD_BINDINGS is ON when either is built. The benchmarks
# need Google Benchmark and a Fortran compiler for the peer they time.
gmd_part_option(GMD_BUILD_BINDINGS "Build the Fortran and Python bindings" bindings_mode)
gmd_part_option(GMD_BUILD_BENCH "Build the benchmarks (run by make bench, never by the tests)" bench_mode)
set(GMD_PYTHON /usr/bin/python3 CACHE FILEPATH "Python of the Python binding, its tests and its install")

# Fortran is enabled here, at the top, so that every directory can compile it.
set(gmd_fortran_found OFF)
if(NOT bindings_mode STREQUAL "OFF" OR NOT bench_mode STREQUAL "OFF")
  include(CheckLanguage)
  check_language(Fortran)
  if(CMAKE_Fortran_COMPILER)
    enable_language(Fortran)
    set(gmd_fortran_found ON)
  endif()
endif()

set(GMD_WITH_FORTRAN OFF)
set(GMD_WITH_PYTHON OFF)
if(NOT bindings_mode STREQUAL "OFF")
  if(gmd_fortran_found)
    set(GMD_WITH_FORTRAN ON)
  else()
    list(APPEND gmd_missing "Fortran compiler")
  endif()
  execute_process(COMMAND ${GMD_PYTHON} -c "import numpy"
    RESULT_VARIABLE gmd_python_failed OUTPUT_QUIET ERROR_QUIET)
  if(gmd_python_failed)
    list(APPEND gmd_missing "${GMD_PYTHON} with numpy")
  else()
    set(GMD_WITH_PYTHON ON)
  endif()
  if(bindings_mode STREQUAL "AUTO" AND (GMD_WITH_FORTRAN OR GMD_WITH_PYTHON))
    # One binding is enough to build the bindings; name the other one.
    if(NOT GMD_WITH_FORTRAN)
      gmd_not_building("Fortran binding" "no Fortran compiler")
    endif()
    if(NOT GMD_WITH_PYTHON)
      gmd_not_building("Python binding" "no ${GMD_PYTHON} with numpy")
    endif()
    set(gmd_missing "")
  endif()
endif()
gmd_part_result(GMD_BUILD_BINDINGS ${bindings_mode} "bindings")

if(NOT bench_mode STREQUAL "OFF")
  gmd_find(${bench_mode} benchmark CONFIG)
  if(NOT benchmark_FOUND)
    list(APPEND gmd_missing "Google Benchmark")
  endif()
  if(NOT gmd_fortran_found)
    list(APPEND gmd_missing "Fortran compiler")
  endif()
endif()
gmd_part_result(GMD_BUILD_BENCH ${bench_mode} "benchmarks")

# Prints the one line naming what is not built; called at the end of the
# top-level CMakeLists.txt, after the subdirectories added theirs.
function(gmd_report_parts)
  get_property(parts GLOBAL PROPERTY GMD_NOT_BUILDING)
  if(parts)
    string(REPLACE ";" "; " parts "${parts}")
    message(STATUS "libgmd: not building: ${parts}")
  endif()
endfunction()
