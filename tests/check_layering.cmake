# Fails when a file includes what its layer must not see: the lower layers build and are tested
# without the user interface, the programs and their own callers; the toolkit-free forms build
# without the toolkit. Every include is read as the path it resolves to ("model/../ui/x.h" is
# ui/x.h). Variable: SOURCE_DIR, the src/ folder.
set(offenders "")

# The project file an include names, resolved against src/ ("" for a system header).
function(resolved_include line out)
    set(${out} "" PARENT_SCOPE)
    if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\"")
        set(path "${CMAKE_MATCH_1}")
        cmake_path(NORMAL_PATH path)
        set(${out} "${path}" PARENT_SCOPE)
    endif()
endfunction()

# Adds to `offenders` every include in the files of `layer` (a folder, or a folder and a file
# pattern) whose resolved path starts with one of `forbidden`, or, with QT, any Qt header.
function(check_files files forbidden)
    cmake_parse_arguments(C "QT" "" "" ${ARGN})
    foreach(source IN LISTS files)
        file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include")
        file(RELATIVE_PATH name "${SOURCE_DIR}" "${source}")
        foreach(line IN LISTS lines)
            string(STRIP "${line}" line)
            resolved_include("${line}" path)
            set(bad FALSE)
            if(path AND forbidden AND path MATCHES "^(${forbidden})")
                set(bad TRUE)
            endif()
            if(C_QT AND (line MATCHES "<Q[A-Za-z]*>" OR path MATCHES "(^|/)(qt_[^/]*|[^/]*_window|[^/]*_dialog)\\.h$"))
                set(bad TRUE)
            endif()
            if(bad)
                string(APPEND offenders "\n  ${name}: ${line}")
            endif()
        endforeach()
    endforeach()
    set(offenders "${offenders}" PARENT_SCOPE)
endfunction()

function(check_layer layer forbidden)
    file(GLOB_RECURSE sources "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp")
    check_files("${sources}" "${forbidden}")
    set(offenders "${offenders}" PARENT_SCOPE)
endfunction()

# Each layer includes only those below it: io, core, loads, refdb, model, then files and
# reports; nothing below the user interface includes it or the programs.
check_layer(io "core/|loads/|refdb/|model/|files/|reports/|ui/|app/")
check_layer(core "io/|loads/|refdb/|model/|files/|reports/|ui/|app/")
check_layer(loads "refdb/|model/|files/|reports/|ui/|app/")
check_layer(refdb "loads/|model/|files/|reports/|ui/|app/")
check_layer(model "files/|reports/|ui/|app/")
check_layer(files "reports/|ui/|app/")
check_layer(reports "ui/|app/")
# The user interface never includes the programs.
check_layer(ui "app/")

# The forms, the program and everything else of ui/ that is not a window build without the
# toolkit: no Qt header, no window's header.
file(GLOB_RECURSE ui_sources "${SOURCE_DIR}/ui/*.h" "${SOURCE_DIR}/ui/*.cpp")
set(forms "")
foreach(source IN LISTS ui_sources)
    if(NOT source MATCHES "/(qt_[^/]*|[^/]*_window|[^/]*_dialog)\\.(h|cpp)$")
        list(APPEND forms "${source}")
    endif()
endforeach()
check_files("${forms}" "app/" QT)
# The command-line tool links no toolkit: of its files only the PDF module paints.
file(GLOB calc_sources "${SOURCE_DIR}/app/calc*.h" "${SOURCE_DIR}/app/calc*.cpp")
list(FILTER calc_sources EXCLUDE REGEX "calc_pdf_module\\.cpp$")
check_files("${calc_sources}" "" QT)

if(offenders)
    message(FATAL_ERROR "Files include what their layer must not see:${offenders}")
endif()
