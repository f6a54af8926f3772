# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when the command-line-only program loads Qt Widgets (or Qt Print Support, which loads it):
# the modes that need no display must not pull in the window's libraries.
#   cmake -DPROGRAM=<file> -DCATALOGUE=<satellite.txt> -DSCRATCH=<folder> -P cli_only_libraries.cmake
find_program(LDD ldd)
if(NOT LDD)
    message("SKIPPED: no ldd to list the libraries the program loads")
    return()
endif()
execute_process(COMMAND ${LDD} ${PROGRAM} OUTPUT_VARIABLE loaded ERROR_VARIABLE problem
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "ldd ${PROGRAM} failed (${status}): ${problem}")
endif()
# An empty or foreign answer would pass the checks below without proving anything.
if(NOT loaded MATCHES "libQt6Core")
    message(FATAL_ERROR "ldd does not list Qt Core for ${PROGRAM}:\n${loaded}")
endif()
foreach(library libQt6Widgets libQt6PrintSupport)
    if(loaded MATCHES "${library}[^\n]*")
        message(FATAL_ERROR "the command line loads ${library}: ${CMAKE_MATCH_0}\n${loaded}")
    endif()
endforeach()

# The modes run in that program: a report, an aim and a template page.
function(run_mode name)
    execute_process(COMMAND ${PROGRAM} ${ARGN} OUTPUT_VARIABLE out ERROR_VARIABLE err
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${name}: exit status ${status}\n${out}${err}")
    endif()
    set(mode_output "${out}" PARENT_SCOPE)
endfunction()
run_mode(report --report --catalogue ${CATALOGUE} --latitude 55.75 --longitude 37.62)
if(NOT mode_output MATCHES "[0-9]")
    message(FATAL_ERROR "report: no lines\n${mode_output}")
endif()
run_mode(aim --aim --catalogue ${CATALOGUE} --latitude 55.75 --longitude 37.62 --satellite 13E --date 2026-06-01)
if(NOT mode_output MATCHES "13")
    message(FATAL_ERROR "aim: no pointing\n${mode_output}")
endif()
file(REMOVE ${SCRATCH}/template.pdf)
run_mode(template --template ${SCRATCH}/template.pdf --catalogue ${CATALOGUE}
         --central 36E --extra 13E --latitude 55.75 --longitude 37.62)
file(READ ${SCRATCH}/template.pdf head LIMIT 5)
if(NOT head MATCHES "^%PDF-")
    message(FATAL_ERROR "template: ${SCRATCH}/template.pdf is no PDF document")
endif()
