# Runs every benchmark program and prints one Markdown table of the results.
#   cmake -DPROGRAMS=a|b -DTABLE_TOOL=... -DOUT_DIR=... [-DQUICK=ON] [-DMISSING=SQLite|...]
#         [-DPROCESS_TOOL=... -DTABLE=quelt-table -DSQLITE3_SHELL=... -DPYTHON3=...] -P report.cmake
# QUICK (or QUELT_BENCH_QUICK=1 in the environment) runs 10,000 records once.
# PROCESS_TOOL adds whole programs on a generated CSV: 1,000,000 rows three
# times each, or 10,000 once in quick mode.

if(QUICK OR ("$ENV{QUELT_BENCH_QUICK}" AND NOT "$ENV{QUELT_BENCH_QUICK}" STREQUAL "0"))
  set(ENV{QUELT_BENCH_QUICK} 1)
  set(repetitions 1)
  set(process_rows 10000)
else()
  set(repetitions 3)
  set(process_rows 1000000)
endif()

string(REPLACE "|" ";" programs "${PROGRAMS}")
string(REPLACE "|" ";" missing "${MISSING}")
set(results_dir ${OUT_DIR}/results)
file(MAKE_DIRECTORY ${results_dir})
set(results ${results_dir}/results.tsv)
file(WRITE ${results} "")

# One line per result the table uses: the median (or the single run), and the
# standard deviation for the noise note.
function(collect json_file)
  file(READ ${json_file} json)
  string(JSON count ERROR_VARIABLE error LENGTH "${json}" benchmarks)
  if(error)
    message(WARNING "${json_file}: ${error}")
    return()
  endif()
  set(lines "")
  if(count GREATER 0)
    math(EXPR last "${count} - 1")
    foreach(i RANGE ${last})
      string(JSON entry GET "${json}" benchmarks ${i})
      string(JSON run_name GET "${entry}" run_name)
      # Fixed iteration and repetition counts are not part of the workload's name.
      string(REGEX REPLACE "/(iterations|repeats|min_time):[^/]*" "" run_name "${run_name}")
      # Nor is the clock: a row is its workload and side whichever time it counts.
      string(REGEX REPLACE "/(process_time|real_time)$" "" run_name "${run_name}")
      string(JSON run_type GET "${entry}" run_type)
      set(statistic iteration)
      if(run_type STREQUAL "aggregate")
        string(JSON statistic GET "${entry}" aggregate_name)
        if(NOT statistic MATCHES "^(median|stddev)$")
          continue()
        endif()
      endif()
      string(JSON time GET "${entry}" cpu_time)
      string(JSON unit GET "${entry}" time_unit)
      string(JSON bytes ERROR_VARIABLE no_bytes GET "${entry}" bytes_per_record)
      if(no_bytes)
        set(bytes "")
      endif()
      string(APPEND lines "${run_name}\t${statistic}\t${time}\t${unit}\t${bytes}\n")
    endforeach()
  endif()
  file(APPEND ${results} "${lines}")
endfunction()

set(failed "")
foreach(program IN LISTS programs)
  get_filename_component(name ${program} NAME)
  message(STATUS "Running ${name} (${repetitions} repetition(s))")
  execute_process(
    COMMAND ${program} --benchmark_repetitions=${repetitions} --benchmark_report_aggregates_only=true
            --benchmark_out=${results_dir}/${name}.json --benchmark_out_format=json
    OUTPUT_FILE ${results_dir}/${name}.log
    ERROR_FILE ${results_dir}/${name}.log
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    list(APPEND failed ${name})
    continue()
  endif()
  collect(${results_dir}/${name}.json)
endforeach()

if(PROCESS_TOOL)
  message(STATUS "Running quelt_process_bench (${process_rows} rows, ${repetitions} run(s) each)")
  execute_process(
    COMMAND ${PROCESS_TOOL} ${results} ${results_dir} ${process_rows} ${repetitions} ${TABLE} "${SQLITE3_SHELL}"
            "${PYTHON3}"
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    list(APPEND failed quelt_process_bench)
  endif()
endif()

execute_process(COMMAND ${TABLE_TOOL} ${results} ${OUT_DIR}/bench_table.md ${missing} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the table could not be made")
endif()
if(failed)
  message(FATAL_ERROR "benchmark programs failed: ${failed} (logs in ${results_dir})")
endif()
