# cmake -DICONV=<iconv> -DSOURCE=<UTF-8 text with LF> -DOUTPUT=<file> -P ToGb2312.cmake
# Writes SOURCE in GB2312 with CR LF line ends and fails, naming the line, when a character has no
# GB2312 form.
file(READ ${SOURCE} text)
if(text MATCHES "\r")
  message(FATAL_ERROR "${SOURCE}: carriage return in the source; keep it with LF line ends")
endif()
# glibc's GB2312 table gives bytes A1A4 and A1AA to U+30FB and U+2015, while browsers read them
# (as GBK) as U+00B7 and U+2014: write the characters the page means through the glibc names.
string(REPLACE "·" "・" text "${text}")
string(REPLACE "—" "―" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
get_filename_component(dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${dir})
file(WRITE ${OUTPUT}.utf8 "${text}")
execute_process(COMMAND ${ICONV} -f UTF-8 -t GB2312 ${OUTPUT}.utf8
  OUTPUT_FILE ${OUTPUT}.tmp ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  set(where "")
  if(err MATCHES "position ([0-9]+)")
    string(SUBSTRING "${text}" 0 ${CMAKE_MATCH_1} before)
    string(REGEX MATCHALL "\n" breaks "${before}")
    list(LENGTH breaks line)
    math(EXPR line "${line} + 1")
    set(where " (line ${line})")
  endif()
  file(REMOVE ${OUTPUT}.tmp ${OUTPUT}.utf8)
  message(FATAL_ERROR "${SOURCE}${where}: a character has no GB2312 form: ${err}")
endif()
file(REMOVE ${OUTPUT}.utf8)
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
