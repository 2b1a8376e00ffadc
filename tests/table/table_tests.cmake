# End-to-end runs of quelt-table (see run_table.cmake):
#   quelt_table_test(name ARGS ... EXPECT file [WARN regex] | MATCH regex | ERROR regex | SAVE LOAD_ARGS ...
#                    [INPUT file content [REPEAT n]])
# INPUT builds the file the run reads (in the build tree, where the run then
# happens) from content with <LF>, <CR>, <TAB> and <BOM> for those bytes; REPEAT
# writes the rows after the header n times.
function(quelt_table_test name)
  cmake_parse_arguments(T "SAVE" "EXPECT;MATCH;ERROR;WARN;REPEAT" "ARGS;LOAD_ARGS;INPUT" ${ARGN})
  string(REPLACE ";" "|" args "${T_ARGS}")
  string(REPLACE ";" "|" load_args "${T_LOAD_ARGS}")
  set(check)
  set(work_dir ${CMAKE_CURRENT_LIST_DIR}/data)
  if(T_INPUT)
    list(GET T_INPUT 0 input_name)
    list(GET T_INPUT 1 input_content)
    set(work_dir ${CMAKE_CURRENT_BINARY_DIR}/table_input/${name})
    file(MAKE_DIRECTORY ${work_dir})
    list(APPEND check "-DINPUT_FILE=${work_dir}/${input_name}" "-DINPUT_CONTENT=${input_content}")
    if(T_REPEAT)
      list(APPEND check -DINPUT_REPEAT=${T_REPEAT})
    endif()
  endif()
  if(DEFINED T_WARN)
    list(APPEND check "-DWARN=${T_WARN}")
  endif()
  if(T_EXPECT)
    list(APPEND check -DEXPECT=${CMAKE_CURRENT_LIST_DIR}/expected/${T_EXPECT})
  elseif(DEFINED T_MATCH)
    list(APPEND check "-DMATCH=${T_MATCH}")
  elseif(DEFINED T_ERROR)
    list(APPEND check "-DERROR=${T_ERROR}")
  elseif(T_SAVE)
    list(APPEND check -DSAVE=${CMAKE_CURRENT_BINARY_DIR}/table_${name}.qds "-DLOAD_ARGS=${load_args}")
  endif()
  add_test(NAME table_${name}
    COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:quelt-table> "-DARGS=${args}" ${check}
            -P ${CMAKE_CURRENT_LIST_DIR}/run_table.cmake
    WORKING_DIRECTORY ${work_dir})
  set_tests_properties(table_${name} PROPERTIES LABELS table)
endfunction()

quelt_table_test(csv_inference ARGS people.csv EXPECT csv_inference.out)
quelt_table_test(tsv_by_extension ARGS people.tsv EXPECT tsv_by_extension.out)
quelt_table_test(tsv_by_header ARGS tabs.txt EXPECT tsv_by_header.out)
quelt_table_test(sort_keys ARGS sales.csv --sort city,amount:desc,order EXPECT sort_keys.out)
quelt_table_test(sort_descending_first ARGS sales.csv --sort day:desc,qty:asc EXPECT sort_descending_first.out)
quelt_table_test(find_text ARGS sales.csv --sort city,amount:desc --find city=OSLO --head 3 EXPECT find_text.out)
quelt_table_test(find_nearest ARGS sales.csv --sort city --find city=Kyiv --head 2 EXPECT find_nearest.out)
quelt_table_test(find_descending ARGS sales.csv --sort amount:desc --find amount=80 --head 3
  EXPECT find_descending.out)
quelt_table_test(find_sorts_by_column ARGS sales.csv --find day=2021-05-01 --head 3 EXPECT find_sorts_by_column.out)
quelt_table_test(head_formats ARGS sales.csv --head 4 --format amount=d.2, --format qty=%
  "--format" "day=%d %b %Y" EXPECT head_formats.out)
quelt_table_test(sample ARGS --sort city,amount:desc --find city=Porto --head 5 --format amount=d.2,
  EXPECT sample.out)
quelt_table_test(plain_stream ARGS --load plain.qds --sort 7_1:desc EXPECT plain_stream.out)
quelt_table_test(named_stream ARGS --load names.qds EXPECT named_stream.out)
quelt_table_test(round_trip SAVE ARGS people.csv --sort score:desc --format score=d.1
  LOAD_ARGS --format score=d.1)
quelt_table_test(round_trip_sample SAVE ARGS --sort date,id:desc --head 8 LOAD_ARGS --head 8)
quelt_table_test(help ARGS --help MATCH "^usage: quelt-table .*--sort COL.*--find COL=VALUE.*--load FILE")

quelt_table_test(missing_file ARGS nosuch.csv ERROR "cannot open 'nosuch.csv'")
quelt_table_test(short_row_strict ARGS ragged.csv --strict ERROR "ragged.csv:5: row has 2 fields, the header has 3")
quelt_table_test(short_row_padded ARGS ragged.csv --head 0 MATCH "ragged.csv: 4 rows" WARN "^quelt-table: warning: 1 row had fewer")
quelt_table_test(unclosed_quote ARGS unclosed.csv ERROR "unclosed.csv:2: quoted field is not closed")
quelt_table_test(text_after_quote ARGS aftquote.csv ERROR "aftquote.csv:2: unexpected text after a closing quote")
quelt_table_test(empty_file ARGS empty.csv ERROR "has no header row")
quelt_table_test(duplicate_column ARGS dupe.csv ERROR "column 'a' appears twice")
quelt_table_test(unknown_sort_column ARGS sales.csv --sort city,price ERROR "unknown column 'price'")
quelt_table_test(unknown_find_column ARGS sales.csv --find price=3 ERROR "unknown column 'price'")
quelt_table_test(unknown_format_column ARGS sales.csv --format price=d.2 ERROR "unknown column 'price'")
quelt_table_test(bad_head ARGS sales.csv --head ten ERROR "--head: 'ten' is not a row count")
quelt_table_test(negative_head ARGS sales.csv --head -1 ERROR "--head: '-1' is not a row count")
quelt_table_test(bad_sort_order ARGS sales.csv --sort city:up ERROR "--sort: 'city:up' is not COL")
quelt_table_test(empty_sort_key ARGS sales.csv --sort city,,qty ERROR "--sort: a sort key lacks its column")
quelt_table_test(repeated_sort_key ARGS sales.csv --sort city,qty,city ERROR "--sort: column 'city' appears twice")
quelt_table_test(bad_number_format ARGS sales.csv --format amount=d2 ERROR "'d2' is not a number format")
quelt_table_test(bad_date_pattern ARGS sales.csv --format day=iso ERROR "'iso' is not a date pattern")
quelt_table_test(text_format ARGS sales.csv --format city=d ERROR "column 'city' holds text")
quelt_table_test(bad_find_value ARGS sales.csv --find qty=many ERROR "'many' is not a value of Int column 'qty'")
quelt_table_test(bad_find_date ARGS sales.csv --find day=2021-02-30 ERROR "not a value of DateTime column 'day'")
quelt_table_test(find_not_first_key ARGS sales.csv --sort qty,city --find city=Lima
  ERROR "column 'city' must be the first --sort column")
quelt_table_test(find_without_value ARGS sales.csv --find city ERROR "--find: 'city' is not COL=VALUE")
quelt_table_test(missing_value ARGS sales.csv --head ERROR "--head: needs a value")
quelt_table_test(repeated_option ARGS sales.csv --head 1 --head 2 ERROR "--head: given twice")
quelt_table_test(unknown_option ARGS sales.csv --bogus ERROR "unknown option '--bogus'")
quelt_table_test(two_files ARGS sales.csv people.csv ERROR "more than one input file")
quelt_table_test(file_and_load ARGS sales.csv --load plain.qds ERROR "either a FILE or --load")
quelt_table_test(missing_stream ARGS --load nosuch.qds ERROR "cannot open 'nosuch.qds'")
quelt_table_test(stream_bad_type ARGS --load badtype.qds ERROR "'badtype.qds' is not a valid data-set stream")
quelt_table_test(stream_truncated ARGS --load truncated.qds ERROR "'truncated.qds' is not a valid data-set stream")
quelt_table_test(stream_name_count ARGS --load badnames.qds ERROR "wrong number of names")
quelt_table_test(stream_trailing_text ARGS --load trailing.qds ERROR "unexpected text after the records")
quelt_table_test(stream_csv ARGS --load sales.csv ERROR "'sales.csv' is not a valid data-set stream")
quelt_table_test(save_unwritable ARGS sales.csv --save /nonexistent/dir/out.qds ERROR "cannot create")

# Files of the shapes real data comes in, built by the test.
set(short_rows "id,name,score,day<CR><LF>1,Ann,2.5,2021-03-04<CR><LF>2,Bob<CR><LF>3<CR><LF>4,,,<CR><LF>5,Eve,1e2,2020-01-01<CR><LF>")
quelt_table_test(short_rows_padded INPUT short.csv "${short_rows}" ARGS short.csv
  EXPECT short_rows_padded.out WARN "2 rows had fewer fields than the header")
quelt_table_test(short_rows_strict INPUT short.csv "${short_rows}" ARGS short.csv --strict
  ERROR "short.csv:3: row has 2 fields, the header has 4")
quelt_table_test(empty_sort_first INPUT short.csv "${short_rows}" ARGS short.csv --sort score,id
  EXPECT empty_sort_first.out WARN "2 rows")
quelt_table_test(empty_sort_last INPUT short.csv "${short_rows}" ARGS short.csv --sort day:desc,name:desc,id
  --format score=d.2, --format id=%, EXPECT empty_sort_last.out WARN "2 rows")
quelt_table_test(long_row INPUT long.csv "a,b<LF>\"x<LF>y\",1<LF>2,3,4<LF>" ARGS long.csv
  ERROR "long.csv:4: row has 3 fields, the header has 2")
quelt_table_test(unclosed_at_end INPUT open.csv "a,b<LF>1,2<LF>3,\"open<LF>4,5" ARGS open.csv
  ERROR "open.csv:3: quoted field is not closed")
quelt_table_test(tsv_quotes INPUT quotes.tsv
  "name<TAB>note<TAB>n<CR><LF>\"Ann<TAB>5\" tall<TAB>1<CR><LF>Bob \"B\"<TAB>\"\"<TAB>2<CR><LF>\"<TAB>say \"\"hi\"\"<TAB>3<LF>"
  ARGS quotes.tsv EXPECT tsv_quotes.out)
quelt_table_test(csv_stray_quotes INPUT stray.csv
  "<BOM>name,size,note<LF>Kraków,5\" tall,ab\"cd<LF>\"日本, \"\"東京\"\"\",3,x\"<LF>Zoë 😀,\"\",plain<CR><LF>"
  ARGS stray.csv --sort name:desc EXPECT csv_stray_quotes.out)
set(numbers "n,r<LF>1,99998.63<LF>2,99998.56<LF>3,2399072936<LF>4,0.30000000000000004<LF>5,1e300<LF>6,<LF>7,-0.000001<LF>")
quelt_table_test(numbers_shortest INPUT numbers.csv "${numbers}" ARGS numbers.csv EXPECT numbers_shortest.out)
quelt_table_test(numbers_whole INPUT numbers.csv "${numbers}" ARGS numbers.csv --format r=d, --format n=d,
  --sort r --head 4 EXPECT numbers_whole.out)
quelt_table_test(int_plain_format INPUT numbers.csv "${numbers}" ARGS numbers.csv --format n=d
  ERROR "'d' would show Int column 'n' as it is shown already")
quelt_table_test(int_decimals_format INPUT numbers.csv "${numbers}" ARGS numbers.csv --format n=d.2
  ERROR "Int column 'n' has no decimals to show with 'd.2'")
quelt_table_test(grouped_hex_format INPUT numbers.csv "${numbers}" ARGS numbers.csv --format r=h,
  ERROR "'h,' is not a number format")
# Rows of many lengths, quoted line breaks and CRLF across the reader's block boundaries.
quelt_table_test(block_boundaries INPUT blocks.csv
  "id,text,amount<CR><LF>1,plain,1.5<CR><LF>22,\"two<CR><LF>lines\",-2<LF>333,\"say \"\"so\"\", then go\",3e3<LF>4444,,<LF>55555,\"\",0.25<CR><LF>"
  REPEAT 40000 ARGS blocks.csv --find id=22 --head 2 EXPECT block_boundaries.out)
# One cell longer than the reader's block.
quelt_table_test(long_cell INPUT long.tsv "text<LF>0123456789abcdef" REPEAT 100000 ARGS long.tsv --head 0
  MATCH "\\(long.tsv: 1 rows\\)\ncolumns: text String\n#  text\n$")
# Empty cells stay empty through a saved stream.
quelt_table_test(round_trip_empty SAVE INPUT gaps.csv "id,name,score,day<LF>1,Ann,2.5,2021-03-04<LF>2,,,<LF>3,Eve,1e2,<LF>"
  ARGS gaps.csv --sort day:desc,score LOAD_ARGS --sort day:desc,score)
