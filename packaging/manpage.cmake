# Writes the manual page of hechuan-cli from the --help texts of the built program and
# compresses it for installation. Run with cmake -P and these variables:
#   CLI       the built hechuan-cli
#   TEMPLATE  packaging/hechuan-cli.1.in
#   OUT       the page to write (OUT.gz is written next to it)
#   VERSION   the project version
# Every subcommand named in the usage lines of "hechuan-cli --help" gets its own section
# with the text of "hechuan-cli <command> --help"; a command whose help fails stops the
# build, so the page cannot silently miss a command.

function(run_help out_var)
  execute_process(COMMAND ${CLI} ${ARGN} --help
    OUTPUT_VARIABLE text RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR text STREQUAL "")
    message(FATAL_ERROR "hechuan-cli ${ARGN} --help failed (exit ${rc}): ${err}")
  endif()
  set(${out_var} "${text}" PARENT_SCOPE)
endfunction()

# Help text to troff no-fill lines: backslashes and minus signs escaped, and a line that
# would start with a control character protected.
function(to_troff out_var text)
  string(REGEX REPLACE "\n+$" "" text "${text}")
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out_var} "${text}" PARENT_SCOPE)
endfunction()

run_help(top)
string(REGEX MATCHALL "\n[ \t]+hechuan-cli [a-z][a-z0-9-]*" lines "\n${top}")
set(commands "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE ".*hechuan-cli " "" name "${line}")
  list(APPEND commands "${name}")
endforeach()
list(REMOVE_DUPLICATES commands)
if(commands STREQUAL "")
  message(FATAL_ERROR "hechuan-cli --help names no command:\n${top}")
endif()

set(synopsis "")
string(REGEX MATCHALL "[ \t]+hechuan-cli [a-z][^\n]*" usage_lines "${top}")
foreach(line IN LISTS usage_lines)
  string(STRIP "${line}" line)
  string(APPEND synopsis "${line}\n")
endforeach()
to_troff(SYNOPSIS "${synopsis}")

set(COMMANDS "")
foreach(name IN LISTS commands)
  run_help(help ${name})
  to_troff(help "${help}")
  string(APPEND COMMANDS ".SS \"hechuan\\-cli ${name}\"\n.nf\n${help}\n.fi\n")
endforeach()
string(REGEX REPLACE "\n$" "" COMMANDS "${COMMANDS}")

configure_file(${TEMPLATE} ${OUT} @ONLY)
execute_process(COMMAND gzip -9nf ${OUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "gzip ${OUT} failed")
endif()
