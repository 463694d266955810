# Builds a small program with vandrel_resources(), edits its resource file and builds again: the
# program must carry the new bytes, so editing a resource rebuilds what embeds it. Also checks
# that the function refuses what it cannot do right.
#   cmake -DSOURCE_DIR=<project root> -DWORK_DIR=<scratch folder> [-DGENERATOR=Ninja] -P ResourcesBuildTest.cmake

if(NOT GENERATOR)
  set(GENERATOR Ninja)
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/src")

function(write_project resources_call)
  file(WRITE "${WORK_DIR}/src/CMakeLists.txt" "
cmake_minimum_required(VERSION 3.25)
project(ResourceProbe CXX)
set(CMAKE_CXX_STANDARD 20)
include(\"${SOURCE_DIR}/cmake/Resources.cmake\")
add_library(vandrel_os STATIC \"${SOURCE_DIR}/platform/os/Resources.cpp\"
  \"${SOURCE_DIR}/platform/core/Text.cpp\" \"${SOURCE_DIR}/platform/core/Stream.cpp\")
target_include_directories(vandrel_os PUBLIC \"${SOURCE_DIR}\")
add_executable(probe probe.cpp)
add_library(probe_static STATIC probe.cpp)
${resources_call}
")
endfunction()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(rc "${rc}" PARENT_SCOPE)
  set(out "${out}${err}" PARENT_SCOPE)
endfunction()

file(WRITE "${WORK_DIR}/src/probe.cpp" [=[
#include <cstdio>
#include "platform/os/Resources.h"
int main() {
  vandrel::TResourceStream stream("data", "text");
  std::string bytes(size_t(stream.Size()), '\0');
  stream.ReadBuffer(bytes.data(), stream.Size());
  std::fputs(bytes.c_str(), stdout);
}
]=])
file(WRITE "${WORK_DIR}/src/data.txt" "first version")
write_project("vandrel_resources(probe TEXT DATA data.txt)")
run("${CMAKE_COMMAND}" -S "${WORK_DIR}/src" -B "${WORK_DIR}/build" -G "${GENERATOR}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configure failed:\n${out}")
endif()

foreach(version IN ITEMS "first version" "second, longer version")
  file(WRITE "${WORK_DIR}/src/data.txt" "${version}")
  run("${CMAKE_COMMAND}" --build "${WORK_DIR}/build" --target probe)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "build failed:\n${out}")
  endif()
  run("${WORK_DIR}/build/probe")
  if(NOT out STREQUAL version)
    message(FATAL_ERROR "the program carries \"${out}\" instead of \"${version}\"")
  endif()
endforeach()

# Refusals, each at configure time with a message that says why.
set(refusals
  "vandrel_resources(probe TEXT DATA data.txt TEXT data data.txt)|given twice"
  "vandrel_resources(probe_static TEXT DATA data.txt)|resources go into an executable"
  "vandrel_resources(probe TEXT DATA missing.txt)|does not exist"
  "vandrel_resources(probe TEXT \"A B\" data.txt)|is not a resource type or name"
  "vandrel_resources(probe TEXT DATA)|triples")
foreach(refusal IN LISTS refusals)
  string(REPLACE "|" ";" parts "${refusal}")
  list(GET parts 0 call)
  list(GET parts 1 expected)
  write_project("${call}")
  file(REMOVE_RECURSE "${WORK_DIR}/refused")
  run("${CMAKE_COMMAND}" -S "${WORK_DIR}/src" -B "${WORK_DIR}/refused" -G "${GENERATOR}")
  # CMake wraps long messages: compare with every run of blanks made one space.
  string(REGEX REPLACE "[ \t\r\n]+" " " flat "${out}")
  if(rc EQUAL 0 OR NOT flat MATCHES "${expected}")
    message(FATAL_ERROR "${call} was not refused with \"${expected}\":\n${out}")
  endif()
endforeach()
message(STATUS "vandrel_resources: rebuilds on edit, refusals in place")
