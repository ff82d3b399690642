# cmake -P run_quietly.cmake -- PROGRAM ARGS...
# Runs a program for the manual's pictures with its standard output dropped:
# the picture and editing commands report every file and design they make,
# which would bury the build's own messages. Errors still show, and a failure
# fails the build step.
cmake_minimum_required(VERSION 3.25)

set(command "")
set(taking FALSE)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
  if(taking)
    list(APPEND command "${CMAKE_ARGV${i}}")
  elseif(CMAKE_ARGV${i} STREQUAL "--")
    set(taking TRUE)
  endif()
endforeach()
if(NOT command)
  message(FATAL_ERROR "usage: cmake -P run_quietly.cmake -- PROGRAM ARGS...")
endif()

execute_process(COMMAND ${command} OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  list(JOIN command " " shown)
  message(FATAL_ERROR "failed (${status}): ${shown}")
endif()
