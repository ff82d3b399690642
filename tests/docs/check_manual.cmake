# cmake -DPDF=Manual.pdf -DCHECK=NumberedPages|NamesEveryWindow -P check_manual.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT EXISTS "${PDF}")
  message(FATAL_ERROR "${PDF} does not exist: the build's 'manual' target prints it")
endif()

foreach(tool pdfinfo pdftotext)
  find_program(${tool}_program ${tool})
  if(NOT ${tool}_program)
    message(FATAL_ERROR "${tool} not found: it comes with Debian's poppler-utils, which scripts/bootstrap installs")
  endif()
endforeach()

# The text of pages FIRST to LAST, with every run of white space (pages end in
# a form feed) made one space, so that a phrase broken across lines still reads
# as one, and the letters of the fi and fl ligatures written out.
function(page_text first last out)
  execute_process(COMMAND ${pdftotext_program} -enc UTF-8 -f ${first} -l ${last} ${PDF} -
                  OUTPUT_VARIABLE text ERROR_VARIABLE error RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "pdftotext cannot read ${PDF}: ${error}")
  endif()
  string(ASCII 12 form_feed)
  string(REGEX REPLACE "[ \t\r\n${form_feed}]+" " " text "${text}")
  string(REPLACE "ﬁ" "fi" text "${text}")
  string(REPLACE "ﬂ" "fl" text "${text}")
  string(STRIP "${text}" text)
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

if(CHECK STREQUAL "NumberedPages")
  execute_process(COMMAND ${pdfinfo_program} ${PDF} OUTPUT_VARIABLE info RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT info MATCHES "Pages: +([0-9]+)")
    message(FATAL_ERROR "pdfinfo cannot read ${PDF}:\n${info}")
  endif()
  set(pages ${CMAKE_MATCH_1})
  # A manual of every window, the menus, the file format and the command-line
  # tool does not fit on a few pages: fewer means that text went missing.
  if(pages LESS 10)
    message(FATAL_ERROR "${PDF} has only ${pages} pages")
  endif()
  # Each page ends in its own number, the last one in the page count.
  foreach(page 1 2 ${pages})
    page_text(${page} ${page} text)
    if(NOT text MATCHES " ${page}$")
      message(FATAL_ERROR "page ${page} of ${PDF} does not end in its number; it ends: ...${text}")
    endif()
  endforeach()
  message(STATUS "${PDF}: ${pages} numbered pages")

elseif(CHECK STREQUAL "NamesEveryWindow")
  # Every window of the program, as its section names it: the caption the
  # program shows and, in brackets, its object name.
  set(windows
    "\"Brillora.\" (Form1)"
    "\"Pavilion\" (Picture)"
    "\"Parameters\" (Weight)"
    "\"About\" (AboutBox)"
    "\"Alignment picture in the paper\" (Alignment)"
    "\"The Map of Illumination\" (LightMap)"
    "\"Progress\" (Progress)"
    "\"Size\" (PictureSize)"
    "\"Light Performance\" (LightPerformance)"
    "\"Optimize\" (Optimize)"
    "\"Gallery\" (Gallery)")
  page_text(1 0 text)  # -l 0 is the last page
  set(missing "")
  foreach(window IN LISTS windows)
    string(FIND "${text}" "${window}" at)
    if(at EQUAL -1)
      string(APPEND missing "\n  ${window}")
    endif()
  endforeach()
  if(missing)
    message(FATAL_ERROR "${PDF} has no section for:${missing}")
  endif()
  list(LENGTH windows count)
  message(STATUS "${PDF} names all ${count} windows")

else()
  message(FATAL_ERROR "unknown CHECK '${CHECK}'")
endif()
