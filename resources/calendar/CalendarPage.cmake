# Builds the calendar page the program carries: resources/calendar/TheCal.htm (UTF-8, LF) becomes
# ${VANDREL_CALENDAR_PAGE} = <build>/resources/calendar/TheCal.htm in GB2312 with CR LF line ends.
# Include this file from any folder that needs the page; the target is vandrel_calendar_page.
include_guard(GLOBAL)

find_program(VANDREL_ICONV iconv REQUIRED)
set(VANDREL_CALENDAR_PAGE ${PROJECT_BINARY_DIR}/resources/calendar/TheCal.htm
  CACHE INTERNAL "The calendar page in GB2312 with CR LF line ends")

add_custom_command(
  OUTPUT ${VANDREL_CALENDAR_PAGE}
  COMMAND ${CMAKE_COMMAND} -DICONV=${VANDREL_ICONV}
          -DSOURCE=${CMAKE_CURRENT_LIST_DIR}/TheCal.htm -DOUTPUT=${VANDREL_CALENDAR_PAGE}
          -P ${CMAKE_CURRENT_LIST_DIR}/ToGb2312.cmake
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/TheCal.htm ${CMAKE_CURRENT_LIST_DIR}/ToGb2312.cmake
  COMMENT "Encoding the calendar page in GB2312"
  VERBATIM)
add_custom_target(vandrel_calendar_page ALL DEPENDS ${VANDREL_CALENDAR_PAGE})
