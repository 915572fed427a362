# export-text writes the text of a node as HTML or RTF in the node's language, with the
# colours of a Settings.ini, and appends the extension to the name given.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(snippets "${FIXTURES}/export/snippets.xml")
foreach(case "1;pascal" "2;c" "3;sql")
  list(GET case 0 index)
  list(GET case 1 name)
  foreach(format html rtf)
    execute_process(COMMAND "${CLI}" export-text "${snippets}" ${index} "${WORK}/${name}.txt" --${format}
                            --settings "${FIXTURES}/export/colours.ini" RESULT_VARIABLE rc ERROR_VARIABLE err)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/${name}.txt.${format}"
                            "${FIXTURES}/export/${name}.txt.${format}" RESULT_VARIABLE diff)
    if(NOT rc EQUAL 0 OR NOT diff EQUAL 0)
      message(FATAL_ERROR "export-text ${index} --${format}: rc ${rc}, differs ${diff}, stderr '${err}'")
    endif()
  endforeach()
endforeach()
# Failures: an empty text (the root node), a missing node, a folder that does not exist, no format.
foreach(args "${snippets};0;${WORK}/root;--html" "${snippets};9;${WORK}/x;--rtf"
             "${snippets};1;${WORK}/no/such/dir/x;--rtf" "${snippets};1;${WORK}/x;--settings;${WORK}/s.ini")
  execute_process(COMMAND "${CLI}" export-text ${args} RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET)
  if(rc EQUAL 0 OR err STREQUAL "")
    message(FATAL_ERROR "expected failure for ${args}: rc ${rc}, stderr '${err}'")
  endif()
endforeach()
if(EXISTS "${WORK}/root.html" OR EXISTS "${WORK}/x.rtf")
  message(FATAL_ERROR "a failed export left a file")
endif()
execute_process(COMMAND "${CLI}" export-text "${snippets}" 1 "${WORK}/no/such/dir/x" --rtf ERROR_VARIABLE err)
if(NOT err MATCHES "^Cannot create file \"[^\"]*no/such/dir/x.rtf\"\\. ")
  message(FATAL_ERROR "unexpected message '${err}'")
endif()
