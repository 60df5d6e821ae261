# Writes the header that names the build's version, run on every build (cmake -P):
#   cmake -DSOURCE_DIR=... -DOUTPUT=.../build_version.h -DPROJECT_VERSION=1.0.0 -P write-version.cmake
# In a repository the version is what `git describe --always --dirty` says and the commit is the
# full hash of HEAD, "-dirty" appended when tracked files have changed; elsewhere (a copy without
# .git, or no git at all) the version is PROJECT_VERSION and there is no commit. The header is
# rewritten only when its text changes, so that an unchanged version rebuilds nothing.
cmake_minimum_required(VERSION 3.20)

foreach(required SOURCE_DIR OUTPUT PROJECT_VERSION)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "write-version.cmake needs -D${required}=...")
  endif()
endforeach()

set(version "${PROJECT_VERSION}")
set(commit "")

find_program(GIT_PROGRAM git)
if(GIT_PROGRAM)
  # A copy of the sources unpacked inside some other repository must not take that one's version.
  execute_process(COMMAND "${GIT_PROGRAM}" rev-parse --show-toplevel
                  WORKING_DIRECTORY "${SOURCE_DIR}"
                  RESULT_VARIABLE status OUTPUT_VARIABLE top OUTPUT_STRIP_TRAILING_WHITESPACE
                  ERROR_QUIET)
  if(status EQUAL 0)
    file(REAL_PATH "${top}" top)
    file(REAL_PATH "${SOURCE_DIR}" source)
  endif()
  if(status EQUAL 0 AND top STREQUAL source)
    execute_process(COMMAND "${GIT_PROGRAM}" rev-parse HEAD WORKING_DIRECTORY "${SOURCE_DIR}"
                    RESULT_VARIABLE head_status OUTPUT_VARIABLE head
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    execute_process(COMMAND "${GIT_PROGRAM}" describe --always WORKING_DIRECTORY "${SOURCE_DIR}"
                    RESULT_VARIABLE describe_status OUTPUT_VARIABLE described
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    # What `git describe --dirty` calls dirty, asked without the index lock it would take to
    # refresh the index: a build must never make a commit made at the same moment fail.
    execute_process(COMMAND "${CMAKE_COMMAND}" -E env GIT_OPTIONAL_LOCKS=0
                            "${GIT_PROGRAM}" status --porcelain --untracked-files=no
                    WORKING_DIRECTORY "${SOURCE_DIR}"
                    RESULT_VARIABLE status_status OUTPUT_VARIABLE changes ERROR_QUIET)
    if(head_status EQUAL 0 AND describe_status EQUAL 0 AND status_status EQUAL 0)
      set(version "${described}")
      set(commit "${head}")
      if(NOT changes STREQUAL "")
        string(APPEND version "-dirty")
        string(APPEND commit "-dirty")
      endif()
    endif()
  endif()
endif()

# A tag may hold a double quote, which would end the C++ string early.
string(REPLACE "\"" "\\\"" version "${version}")
set(text "// Written by cmake/write-version.cmake at every build; not to be edited.
#pragma once

namespace jobshop {

// What `git describe --always --dirty` said of the sources, or the project version outside a
// repository.
inline constexpr const char* kBuildVersion = \"${version}\";
// The full hash of the commit built, \"-dirty\" appended when tracked files had changed; \"\"
// outside a repository.
inline constexpr const char* kBuildCommit = \"${commit}\";
// The version the project declares, which kBuildVersion falls back to.
inline constexpr const char* kProjectVersion = \"${PROJECT_VERSION}\";

}  // namespace jobshop
")

set(old "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUTPUT}" "${text}")
endif()
