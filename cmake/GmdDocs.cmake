# `docs` builds the API reference from gmd.h with Doxygen into build/docs;
# any Doxygen warning fails it. The test api_reference does the same, so a
# header comment that Doxygen cannot read breaks the suite, not just `make docs`.
find_package(Doxygen QUIET)
if(DOXYGEN_FOUND)
  configure_file(${PROJECT_SOURCE_DIR}/docs/Doxyfile.in ${PROJECT_BINARY_DIR}/docs/Doxyfile @ONLY)
  add_custom_target(docs
    COMMAND Doxygen::doxygen ${PROJECT_BINARY_DIR}/docs/Doxyfile
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "API reference in ${PROJECT_BINARY_DIR}/docs/html"
    VERBATIM)
  if(GMD_BUILD_TESTS)
    add_test(NAME api_reference COMMAND Doxygen::doxygen ${PROJECT_BINARY_DIR}/docs/Doxyfile
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
  endif()
else()
  gmd_not_building("API reference" "no doxygen")
endif()
