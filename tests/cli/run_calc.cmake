# Runs coldroom-calc once and checks what it did. Variables:
#   CALC            the program
#   ARGS            its arguments, separated by "|"
#   EXPECT_EXIT     the exit code it must return
#   STDOUT_HAS      a text its output must contain (optional)
#   STDERR_HAS      a text its messages must contain (optional)
#   JSON_CHECK      a Python script that reads the output, kept in JSON_FILE, and checks it
#                   with the interpreter PYTHON (optional)
#   SAME_FILES      two files, separated by "|", that must be byte-identical afterwards (optional)
#   REMOVE          a file removed before the run (optional)
string(REPLACE "|" ";" ARGS "${ARGS}")
string(REPLACE "|" ";" SAME_FILES "${SAME_FILES}")
if(REMOVE)
    file(REMOVE "${REMOVE}")
endif()
execute_process(
    COMMAND "${CALC}" ${ARGS}
    RESULT_VARIABLE code
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err)
if(NOT code STREQUAL "${EXPECT_EXIT}")
    message(FATAL_ERROR "exit code ${code}, expected ${EXPECT_EXIT}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(DEFINED STDOUT_HAS)
    string(FIND "${out}" "${STDOUT_HAS}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "output lacks \"${STDOUT_HAS}\":\n${out}")
    endif()
endif()
if(DEFINED STDERR_HAS)
    string(FIND "${err}" "${STDERR_HAS}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "messages lack \"${STDERR_HAS}\":\n${err}")
    endif()
endif()
if(JSON_CHECK)
    file(WRITE "${JSON_FILE}" "${out}")
    execute_process(
        COMMAND "${PYTHON}" "${JSON_CHECK}" "${JSON_FILE}"
        RESULT_VARIABLE checked
        OUTPUT_VARIABLE report
        ERROR_VARIABLE report)
    if(NOT checked EQUAL 0)
        message(FATAL_ERROR "JSON check failed:\n${report}")
    endif()
endif()
if(SAME_FILES)
    list(GET SAME_FILES 0 first)
    list(GET SAME_FILES 1 second)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${first}" "${second}" RESULT_VARIABLE differ)
    if(NOT differ EQUAL 0)
        message(FATAL_ERROR "${first} and ${second} differ")
    endif()
endif()
