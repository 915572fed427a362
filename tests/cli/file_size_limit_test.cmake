# convert under a file-size limit (writes past it fail instead of killing the process):
# exit status 1, and the file that was there keeps its bytes, in both formats.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
foreach(target "t.xml" "t.txt")
  file(WRITE "${WORK}/${target}" "the previous file")
  execute_process(COMMAND sh -c "ulimit -f 1; trap '' XFSZ; exec \"$0\" convert \"$1\" \"$2\""
                          "${CLI}" "${FIXTURES}/three_languages.xml" "${WORK}/${target}"
                  RESULT_VARIABLE rc ERROR_VARIABLE err)
  file(READ "${WORK}/${target}" kept)
  if(NOT rc EQUAL 1 OR NOT kept STREQUAL "the previous file" OR NOT err MATCHES "Ошибка при сохранении файла")
    message(FATAL_ERROR "convert to ${target} under a size limit: rc ${rc}, stderr '${err}', file now '${kept}'")
  endif()
endforeach()
