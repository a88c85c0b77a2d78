# Runs the terminal with arguments a person may give wrongly (cmake
# -DTERMINAL=... -DARGS="a;b" -DSTATUS=N -DTEXT=... -P this): it must end
# with status N and say TEXT, so that a refusal for another reason, or no
# refusal at all, does not pass.
execute_process(COMMAND "${TERMINAL}" ${ARGS} RESULT_VARIABLE _status OUTPUT_VARIABLE _out ERROR_VARIABLE _err
                INPUT_FILE /dev/null TIMEOUT 20)
string(FIND "${_err}" "${TEXT}" _held)
if(NOT _status STREQUAL "${STATUS}" OR _held EQUAL -1)
  message(FATAL_ERROR "status ${_status}, expected ${STATUS} and \"${TEXT}\" on standard error; "
                      "standard error:\n${_err}")
endif()
