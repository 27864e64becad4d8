cmake_minimum_required(VERSION 3.25)
# Computes one scenario folder with coldroom-calc and compares what it printed, the messages
# it showed and the CSV report with the expected files kept there (the report's date masked).
# Variables: CALC (the program), SCENARIO (the folder), WORK (a scratch folder).
# With -DUPDATE=ON the expected files are written instead: review the difference before
# committing it.
file(MAKE_DIRECTORY "${WORK}")
set(report "${WORK}/report.csv")
file(REMOVE "${report}")
execute_process(
    COMMAND "${CALC}" --csv "${report}" "${SCENARIO}/project.cfg"
    RESULT_VARIABLE code
    OUTPUT_VARIABLE table
    ERROR_VARIABLE messages)
if(NOT code EQUAL 0)
    message(FATAL_ERROR "exit code ${code}\n${messages}")
endif()
# file(READ) hands lines over without their CR: the report's own line ends are checked apart.
file(READ "${report}" report_hex HEX)
string(REGEX MATCHALL "0a" line_feeds "${report_hex}")
string(REGEX MATCHALL "0d0a" crlf_ends "${report_hex}")
list(LENGTH line_feeds line_count)
list(LENGTH crlf_ends crlf_count)
file(READ "${report}" csv)
string(REGEX REPLACE "[0-9][0-9]\\.[0-9][0-9]\\.[0-9][0-9][0-9][0-9]" "DATE" csv "${csv}")

set(failures "")
if(NOT line_count EQUAL crlf_count)
    string(APPEND failures "${report}: ${line_count} lines, only ${crlf_count} of them end in CR LF\n")
endif()
foreach(part table messages csv)
    set(expected_file "${SCENARIO}/${part}.txt")
    if(part STREQUAL "csv")
        set(expected_file "${SCENARIO}/report.csv")
    endif()
    if(UPDATE)
        set(content "${${part}}")
        if(part STREQUAL "csv")
            string(REPLACE "\n" "\r\n" content "${content}")
        endif()
        file(WRITE "${expected_file}" "${content}")
        continue()
    endif()
    file(READ "${expected_file}" expected)
    if(NOT "${${part}}" STREQUAL "${expected}")
        file(WRITE "${WORK}/actual-${part}" "${${part}}")
        string(APPEND failures "${expected_file} differs from ${WORK}/actual-${part}\n")
    endif()
endforeach()
if(failures)
    message(FATAL_ERROR "${failures}")
endif()
