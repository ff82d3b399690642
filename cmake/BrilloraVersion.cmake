# The release and the commit the build was configured from, for --version.
# The commit is what `git describe` says of the source tree when git and the
# repository are there; a build from an unpacked archive has none and says so
# by leaving it empty.
set(BRILLORA_COMMIT "")
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND ${GIT_EXECUTABLE} describe --always --abbrev=10
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE described ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE described_status)
  if(described_status EQUAL 0)
    set(BRILLORA_COMMIT "${described}")
    # A new commit configures again, so the programs never name a stale one.
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --symbolic-full-name HEAD
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE branch ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
    foreach(name HEAD ${branch})
      execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --path-format=absolute --git-path ${name}
                      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                      OUTPUT_VARIABLE path ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
      if(path AND EXISTS "${path}")
        set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${path}")
      endif()
    endforeach()
  endif()
endif()

set(BRILLORA_VERSION_TEXT "Brillora ${PROJECT_VERSION}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/brillora_version.h.in
               ${CMAKE_BINARY_DIR}/include/version/version/brillora_version.h @ONLY)
add_library(brillora_version INTERFACE)
target_include_directories(brillora_version INTERFACE ${CMAKE_BINARY_DIR}/include/version)
