# Fails when groff has anything to say about the manual page: -ww turns every warning on.
execute_process(COMMAND ${GROFF} -man -ww -z ${PAGE}
                RESULT_VARIABLE result ERROR_VARIABLE warnings OUTPUT_QUIET)
if(NOT result EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "groff -man -ww -z ${PAGE} (status ${result}):\n${warnings}")
endif()
message(STATUS "The manual page renders without warnings")
