# End-to-end runs of quelt-report on generated CSVs (see run_report.cmake):
#   quelt_report_test(name KIND kind ROWS n ARGS ... [SIZE WxH] [PAGES n]
#                     [ERROR regex] [TABLE_ARGS ... DUMP n] [LINE_UP "R G B" LINE_DOWN "R G B"])
function(quelt_report_test name)
  cmake_parse_arguments(T "" "KIND;ROWS;SIZE;PAGES;ERROR;DUMP;LINE_UP;LINE_DOWN" "ARGS;TABLE_ARGS" ${ARGN})
  string(REPLACE ";" "|" args "${T_ARGS}")
  string(REPLACE ";" "|" table_args "${T_TABLE_ARGS}")
  string(REPLACE "x" "|" size "${T_SIZE}")
  set(check)
  if(DEFINED T_ERROR)
    list(APPEND check "-DERROR=${T_ERROR}")
  else()
    list(APPEND check "-DSIZE=${size}" -DPAGES=${T_PAGES})
  endif()
  if(T_LINE_UP)
    list(APPEND check -DPROBE=$<TARGET_FILE:report_png_probe> "-DLINE_UP=${T_LINE_UP}" "-DLINE_DOWN=${T_LINE_DOWN}")
  endif()
  if(T_TABLE_ARGS)
    list(APPEND check "-DTABLE_ARGS=${table_args}" -DDUMP=${T_DUMP})
  endif()
  add_test(NAME report_${name}
    COMMAND ${CMAKE_COMMAND} -DSAMPLE=$<TARGET_FILE:quelt-sample> -DREPORT=$<TARGET_FILE:quelt-report>
            -DTABLE=$<TARGET_FILE:quelt-table> -DKIND=${T_KIND} -DROWS=${T_ROWS}
            -DWORK=${CMAKE_CURRENT_BINARY_DIR}/report_runs/${name} "-DARGS=${args}" ${check}
            -P ${CMAKE_CURRENT_LIST_DIR}/run_report.cmake)
  # Fontconfig's caches live until the program ends: not leaks (sanitized builds).
  set_tests_properties(report_${name} PROPERTIES LABELS report
    ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan.supp:print_suppressions=0")
endfunction()

# A4 holds 50 grid rows a page.
quelt_report_test(one_page KIND readings ROWS 10 ARGS --x time --y inside,outside SIZE 1200x640 PAGES 1)
quelt_report_test(pages_by_rows KIND readings ROWS 120 ARGS --x id --y outside --sort outside:desc
  --size 900x500 SIZE 900x500 PAGES 3)
quelt_report_test(full_last_page KIND readings ROWS 100 ARGS --x time --y inside SIZE 1200x640 PAGES 2)
quelt_report_test(page_limit KIND readings ROWS 400 ARGS --x time --y inside --pages 3 SIZE 1200x640 PAGES 3)
# The chart's first two series colours: x against 2x + 1 rises, against rows - x falls.
quelt_report_test(chart_lines KIND ramp ROWS 200 ARGS --x x --y up,down SIZE 1200x640 PAGES 4
  LINE_UP "31 119 180" LINE_DOWN "255 127 14")
quelt_report_test(chart_lines_span KIND ramp ROWS 2000 ARGS --x x --y up,down --find x=500 --span 300 --pages 1 --size 1000x700
  SIZE 1000x700 PAGES 1 LINE_UP "31 119 180" LINE_DOWN "255 127 14")
quelt_report_test(same_rows_as_table KIND sales ROWS 300
  ARGS --x id --y amount,qty --sort city,amount:desc --find city=Porto --format amount=d.2,
       --format date=%Y-%m-%d
  SIZE 1200x640 PAGES 6
  TABLE_ARGS --sort city,amount:desc --find city=Porto --format amount=d.2, --format date=%Y-%m-%d DUMP 12)
quelt_report_test(same_rows_descending KIND readings ROWS 200
  ARGS --x time --y inside --sort load:desc,id --format time=%Y-%m-%d_%H:%M
  SIZE 1200x640 PAGES 4
  TABLE_ARGS --sort load:desc,id --format time=%Y-%m-%d_%H:%M DUMP 20)

quelt_report_test(missing_file KIND readings ROWS 1 ARGS nosuch.csv --x time --y inside
  ERROR "cannot open 'nosuch.csv'")
quelt_report_test(no_y KIND readings ROWS 1 ARGS @CSV@ --x time ERROR "--y: the chart's columns are missing")
quelt_report_test(text_y KIND readings ROWS 1 ARGS @CSV@ --x time --y inside,site
  ERROR "--y: column 'site' is String, not a number")
quelt_report_test(text_x KIND readings ROWS 1 ARGS @CSV@ --x site --y inside
  ERROR "--x: column 'site' is String, not a number or a date")
quelt_report_test(unknown_x KIND readings ROWS 1 ARGS @CSV@ --x when --y inside ERROR "unknown column 'when'")
quelt_report_test(bad_size KIND readings ROWS 1 ARGS @CSV@ --x time --y inside --size 10x10
  ERROR "--size: '10x10' is not WxH")
quelt_report_test(find_not_first KIND readings ROWS 5 ARGS @CSV@ --x time --y inside --sort id --find site=Porto
  ERROR "--find: column 'site' must be the first --sort column")
quelt_report_test(bad_find KIND readings ROWS 5 ARGS @CSV@ --x time --y inside --find inside=warm
  ERROR "--find: 'warm' is not a value of Double column 'inside'")
quelt_report_test(bad_pages KIND readings ROWS 5 ARGS @CSV@ --x time --y inside --pages 0
  ERROR "--pages: '0' is not a count")
