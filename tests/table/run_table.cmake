# Runs quelt-table in the data directory and checks what it did.
#   TOOL      the program
#   ARGS      its arguments, separated by '|'
#   EXPECT    file that stdout must equal, step times masked as "# ms"
#   MATCH     regex that stdout must match
#   ERROR     regex the one-line error on stderr must match (exit status 1)
#   SAVE      save to this file with ARGS, load it back with LOAD_ARGS and
#             require the same output from both runs
cmake_minimum_required(VERSION 3.20)

function(run_tool out_var err_var status_var)
  execute_process(COMMAND ${TOOL} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(REGEX REPLACE "[0-9]+\\.[0-9] ms" "# ms" out "${out}")
  set(${out_var} "${out}" PARENT_SCOPE)
  set(${err_var} "${err}" PARENT_SCOPE)
  set(${status_var} "${status}" PARENT_SCOPE)
endfunction()

function(expect_success out err status)
  if(NOT status EQUAL 0 OR NOT err STREQUAL "")
    message(FATAL_ERROR "expected success, got status ${status}\nstderr: ${err}\nstdout:\n${out}")
  endif()
endfunction()

# Without the lines that name the input or output, or the sort the saved
# order makes unnecessary.
function(without_file_steps text var)
  string(REGEX REPLACE "(read|generate|load|save|sort): [^\n]*\n" "" text "${text}")
  set(${var} "${text}" PARENT_SCOPE)
endfunction()

string(REPLACE "|" ";" args "${ARGS}")
string(REPLACE "|" ";" load_args "${LOAD_ARGS}")

if(DEFINED ERROR)
  run_tool(out err status ${args})
  if(NOT status EQUAL 1)
    message(FATAL_ERROR "expected exit status 1, got ${status}\nstderr: ${err}")
  endif()
  if(NOT err MATCHES "^quelt-table: [^\n]+\n$")
    message(FATAL_ERROR "expected one line on stderr starting with 'quelt-table: ', got:\n${err}")
  endif()
  if(NOT err MATCHES "${ERROR}")
    message(FATAL_ERROR "stderr does not match '${ERROR}':\n${err}")
  endif()
elseif(DEFINED SAVE)
  file(REMOVE "${SAVE}")
  run_tool(saved err status ${args} --save "${SAVE}")
  expect_success("${saved}" "${err}" "${status}")
  run_tool(loaded err status --load "${SAVE}" ${load_args})
  expect_success("${loaded}" "${err}" "${status}")
  without_file_steps("${saved}" saved)
  without_file_steps("${loaded}" loaded)
  if(NOT saved STREQUAL loaded)
    message(FATAL_ERROR "the loaded table differs from the saved one\nsaved:\n${saved}\nloaded:\n${loaded}")
  endif()
  if(NOT loaded MATCHES "\n *0  ")
    message(FATAL_ERROR "no rows were printed:\n${loaded}")
  endif()
elseif(DEFINED MATCH)
  run_tool(out err status ${args})
  expect_success("${out}" "${err}" "${status}")
  if(NOT out MATCHES "${MATCH}")
    message(FATAL_ERROR "stdout does not match '${MATCH}':\n${out}")
  endif()
else()
  run_tool(out err status ${args})
  expect_success("${out}" "${err}" "${status}")
  file(READ "${EXPECT}" expected)
  if(NOT out STREQUAL expected)
    message(FATAL_ERROR "stdout differs from ${EXPECT}\n--- got:\n${out}--- expected:\n${expected}")
  endif()
endif()
