# Runs a script that must fail (cmake -DTERMINAL=... -DSCRIPT=... -P this):
# the terminal must end with status 1, and its error for line N on standard
# error must hold TEXT, as the script's "# fails at N: TEXT" comment says, so
# that a script failing early or for another reason is not taken for the one
# meant.
file(STRINGS "${SCRIPT}" _said REGEX "^# fails at [0-9]+: ")
list(LENGTH _said _count)
if(NOT _count EQUAL 1)
  message(FATAL_ERROR "${SCRIPT}: needs one \"# fails at N: TEXT\" line")
endif()
string(REGEX REPLACE "^# fails at ([0-9]+): (.*)$" "\\1" _line "${_said}")
string(REGEX REPLACE "^# fails at ([0-9]+): (.*)$" "\\2" _text "${_said}")
execute_process(COMMAND "${TERMINAL}" --db :memory: --user admin --script "${SCRIPT}"
                RESULT_VARIABLE _status OUTPUT_QUIET ERROR_VARIABLE _err)
set(_error "")
string(FIND "${_err}" "${SCRIPT}:${_line}: " _at)
if(NOT _at EQUAL -1)
  string(SUBSTRING "${_err}" ${_at} -1 _error)
  string(REGEX REPLACE "\n.*" "" _error "${_error}")
endif()
string(FIND "${_error}" "${_text}" _held)
if(NOT _status EQUAL 1 OR _held EQUAL -1)
  message(FATAL_ERROR "status ${_status}, expected 1 and an error for line ${_line} holding \"${_text}\"; "
                      "standard error:\n${_err}")
endif()
