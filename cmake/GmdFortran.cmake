# The Fortran binding is built when a Fortran compiler is present. The
# language is enabled here, at the top, so that every directory (bindings,
# tests, examples) can compile Fortran.
include(CheckLanguage)
check_language(Fortran)
if(CMAKE_Fortran_COMPILER)
  enable_language(Fortran)
endif()
