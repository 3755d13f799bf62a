# Writes the program's version, as `git describe` names the source tree (with "-dirty" for
# uncommitted changes), into a C++ source of the build. Run at every build; the file is only
# rewritten when the version changes, so an unchanged tree rebuilds nothing.
#   cmake -DSOURCE_DIR=... -DOUTPUT=... -P tools/version.cmake
execute_process(
  COMMAND git describe --always --dirty --tags
  WORKING_DIRECTORY "${SOURCE_DIR}"
  OUTPUT_VARIABLE version
  OUTPUT_STRIP_TRAILING_WHITESPACE
  ERROR_QUIET
  RESULT_VARIABLE failed)
if(failed OR version STREQUAL "")
  set(version "unknown")
endif()
set(source "#include \"app/ProgramVersion.h\"\n\nconst char* const kProgramVersion = \"${version}\";\n")
file(WRITE "${OUTPUT}.new" "${source}")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different "${OUTPUT}.new" "${OUTPUT}")
file(REMOVE "${OUTPUT}.new")
