# Fails when a file of a lower layer includes anything of a layer above it: the lower layers
# must build and be tested without the user interface, the programs and their own callers.
# Variable: SOURCE_DIR, the src/ folder.
set(offenders "")
# Adds to `offenders` every include in `layer` of a folder matched by `forbidden`.
function(check_layer layer forbidden)
    file(GLOB_RECURSE sources "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp")
    foreach(source IN LISTS sources)
        file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<](\\.\\./)*(${forbidden})/")
        foreach(line IN LISTS lines)
            file(RELATIVE_PATH name "${SOURCE_DIR}" "${source}")
            string(STRIP "${line}" line)
            string(APPEND offenders "\n  ${name}: ${line}")
        endforeach()
    endforeach()
    set(offenders "${offenders}" PARENT_SCOPE)
endfunction()

# Each layer includes only those below it: io, core, loads, refdb, model, then files and
# reports; nothing below the user interface includes it or the programs.
check_layer(io "core|loads|refdb|model|files|reports|ui|app")
check_layer(core "io|loads|refdb|model|files|reports|ui|app")
check_layer(loads "refdb|model|files|reports|ui|app")
check_layer(refdb "loads|model|files|reports|ui|app")
check_layer(model "files|reports|ui|app")
check_layer(files "reports|ui|app")
check_layer(reports "ui|app")
if(offenders)
    message(FATAL_ERROR "Lower layers include what lies above them:${offenders}")
endif()
