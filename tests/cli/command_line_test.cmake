# The command line of tarnwick-cli: help and version, usage errors (one line, exit status 2)
cmake_policy(SET CMP0007 NEW)
# and failure messages that name the file and the reason (exit status 1).
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(WRITE "${WORK}/broken.xml" "<TREE count=\"1\"><Root")
set(example "${FIXTURES}/example.xml")

# Each case: expected exit status | arguments separated by "," | a regular expression the
# output must match (standard output for status 0, standard error otherwise).
set(cases
  "0|--help|^usage: tarnwick-cli COMMAND.*\n  export-html +Writes every node"
  "0|-h|Commands:"
  "0|--version|^tarnwick-cli [0-9]+\\.[0-9]+\n$"
  "0|help|Commands:"
  "0|help,export-html|^usage: tarnwick-cli export-html FILE NAME\n.*Arguments:\n  FILE .*  NAME "
  "0|export-dir,--help|^usage: tarnwick-cli export-dir FILE INDEX TARGET \\[--empty-sections\\]\n"
  "0|import,-h|--max-kb N +skip files larger"
  "2||^usage: tarnwick-cli COMMAND.*\\(no command given\\)\n$"
  "2|frobnicate,x|\\(unknown command \"frobnicate\"\\)\n$"
  "2|--bogus|Unknown option 'bogus'"
  "2|help,frobnicate|^usage: tarnwick-cli help \\[COMMAND\\] \\(no command \"frobnicate\"\\)\n$"
  "2|dump|^usage: tarnwick-cli dump FILE \\(1 arguments expected, 0 given\\)\n$"
  "2|dump,a.xml,b.xml|\\(1 arguments expected, 2 given\\)"
  "2|branch-add,a.xml,1,b.xml|^usage: tarnwick-cli branch-add FILE INDEX BRANCHFILE OUT "
  "2|import,dir,out.xml,--bogus|^usage: tarnwick-cli import DIR OUT \\[--into FILE\\].* \\(Unknown option 'bogus'\\.\\)\n$"
  "2|import,dir,out.xml,--into|Missing value after '--into'"
  "2|export-text,${example},1,out|\\(exactly one of --html and --rtf expected\\)"
  "2|export-text,${example},1,out,--html,--rtf|\\(exactly one of --html and --rtf expected\\)"
  "2|export-dir,${example},0,${WORK},--empty|Unknown option 'empty'"
  "1|dump,${WORK}/missing.xml|^Ошибка при открытии файла: [^\n]*/missing.xml: No such file or directory\n$"
  "1|dump,${WORK}/broken.xml|^Ошибка при открытии файла: [^\n]*/broken.xml: not well-formed XML \\("
  "1|dump,${WORK}|: Is a directory\n$"
  "1|convert,${example},${WORK}/no/dir/x.xml|^Ошибка при сохранении файла: [^\n]*/no/dir/x.xml: No such directory\n$"
  "1|convert,${example},${WORK}/no/dir/x|/no/dir/x.txt: No such directory\n$"
  "1|branch-save,${example},7,${WORK}/b.xml|^No node at index 7 in [^\n]*example.xml: it holds 4 nodes\n$"
  "1|export-dir,${example},3,${WORK}/missing|^Ошибка при попытке экспорта\\.: [^\n]*/missing: No such file or directory\n$"
  "1|import,${WORK}/missing,${WORK}/x.xml|^No directory [^\n]*/missing: No such file or directory\n$"
  "1|export-text,${example},3,${WORK}/x,--html,--settings,${WORK}/none.ini|none.ini: No such file or directory\n$"
  "1|tokens,Klingon,${example}|^Unknown language: Klingon \\(one of .*Pascal"
  # Without options, an argument that begins with "-" is searched for as it is.
  "0|find,${example},->|^$"
  # With an option: every match with its line, and status 1 when none matched.
  "0|find,${example},writeln,--lines|^3\tRoot\\\\Hello\\\\\t2\tbegin writeln\\('Hi & <bye>'\\) end\\.\n$"
  "0|find,${example},WriteLn,--ignore-case,--word|^3\tRoot\\\\Hello\\\\\t2\tbegin writeln"
  "0|find,${example},(\\w+) H,--regex|^3\t[^\t]*\t1\tprogram Hello.\n$"
  "0|find,${example},нОв,--names,--ignore-case|^1\tRoot\\\\Новый раздел\\\\\t0\tНовый раздел\n2\t[^\n]*\t0\tНовый код\n$"
  "1|find,${example},Writeln,--word|^$"
  "1|find,${example},->,--regex|^$"
  "1|find,${example},a(,--regex|^Ошибка в регулярном выражении в позиции 3: missing closing parenthesis\n$"
)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 expected)
  list(GET parts 1 args)
  list(GET parts 2 pattern)
  string(REPLACE "," ";" args "${args}")
  execute_process(COMMAND "${CLI}" ${args} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(expected EQUAL 0)
    set(shown "${out}")
  else()
    set(shown "${err}")
  endif()
  if(NOT rc EQUAL expected OR NOT shown MATCHES "${pattern}")
    message(SEND_ERROR "tarnwick-cli ${args}: exit ${rc} (expected ${expected})\nstdout: ${out}\nstderr: ${err}\nexpected to match: ${pattern}")
  endif()
endforeach()
