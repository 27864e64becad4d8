# Fails when a file of the lower layers (numbers, loads, reference data, files, reports)
# includes anything of the user interface or the programs: those layers must build and be
# tested without them. The file layer io/ below them all includes nothing of the project's
# other folders. Variable: SOURCE_DIR, the src/ folder.
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

foreach(layer IN ITEMS io core loads refdb model files reports)
    check_layer(${layer} "ui|app")
endforeach()
check_layer(io "core|loads|refdb|files|reports")
if(offenders)
    message(FATAL_ERROR "Lower layers include what lies above them:${offenders}")
endif()
