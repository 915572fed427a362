# import: a directory tree into a new collection and into an existing one, with masks,
# loading, languages and removal of empty sections; a missing directory fails.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/tree/src/util" "${WORK}/tree/lib")
file(WRITE "${WORK}/tree/a.pas" "begin\nend.\n")
file(WRITE "${WORK}/tree/lib/b.cpp" "int x = 1;")
file(WRITE "${WORK}/tree/c.txt" "text")

function(run_cli)
  execute_process(COMMAND "${CLI}" ${ARGN} RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "tarnwick-cli ${ARGN} failed (${rc}): ${err}")
  endif()
endfunction()

function(expect_dump file)
  execute_process(COMMAND "${CLI}" dump "${file}" OUTPUT_VARIABLE json RESULT_VARIABLE rc)
  foreach(piece ${ARGN})
    string(FIND "${json}" "${piece}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${file}: '${piece}' not in\n${json}")
    endif()
  endforeach()
  set(json "${json}" PARENT_SCOPE)
endfunction()

run_cli(import "${WORK}/tree" "${WORK}/new.xml" --masks "*.pas *.cpp" --load --lang --del-empty)
expect_dump("${WORK}/new.xml"
  "\"caption\":\"a.pas\"" "\"text\":\"begin\\r\\nend.\\r\\n\""
  "\"caption\":\"lib\"" "\"caption\":\"b.cpp\"" "\"text\":\"int x = 1;\\r\\n\"")
# The language of ".cpp" is not the first language (what an unknown extension gets).
if(NOT json MATCHES "\"caption\":\"b\\.cpp\"[^}]*\"lan\":([0-9]+)" OR CMAKE_MATCH_1 EQUAL 1)
  message(FATAL_ERROR "b.cpp has no language of its own: ${CMAKE_MATCH_1}")
endif()
foreach(absent "\"caption\":\"c.txt\"" "\"caption\":\"src\"" "\"caption\":\"util\"")
  string(FIND "${json}" "${absent}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "${absent} should not be imported:\n${json}")
  endif()
endforeach()

# Into an existing collection, without loading: the example's nodes stay, new pages keep " ".
run_cli(import "${WORK}/tree" "${WORK}/into.txt" --into "${FIXTURES}/example.xml" --masks "*.txt")
expect_dump("${WORK}/into.txt" "\"caption\":\"Hello\"" "\"caption\":\"c.txt\"" "\"caption\":\"util\"")

execute_process(COMMAND "${CLI}" import "${WORK}/missing" "${WORK}/x.xml" RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT err MATCHES "No directory" OR EXISTS "${WORK}/x.xml")
  message(FATAL_ERROR "a missing directory must fail: rc ${rc}, '${err}'")
endif()
