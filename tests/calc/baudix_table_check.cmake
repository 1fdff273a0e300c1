# Runs baudix-table as a user would and checks its output and exit status:
#   cmake -DPROGRAM=<exe> [-DEMULATOR=<cmd|arg|...>] -DDATA=<dir> -P baudix_table_check.cmake
# The emulator (Wine for the Windows build) is given with "|" between its words.
string(REPLACE "|" ";" emulator "${EMULATOR}")
set(failures 0)

function(run_table expect_rc expect_stdout expect_stderr)
  execute_process(COMMAND ${emulator} ${PROGRAM} ${ARGN}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(JOIN " " shown ${ARGN})
  if(NOT rc STREQUAL expect_rc)
    message(SEND_ERROR "baudix-table ${shown}: exit status ${rc}, expected ${expect_rc}\n${err}")
  endif()
  string(COMPARE EQUAL "${out}" "${expect_stdout}" same_out)
  if(NOT same_out)
    message(SEND_ERROR "baudix-table ${shown}: standard output\n${out}\nexpected\n${expect_stdout}")
  endif()
  if(NOT expect_stderr STREQUAL "*")
    string(COMPARE EQUAL "${err}" "${expect_stderr}" same_err)
    if(NOT same_err)
      message(SEND_ERROR "baudix-table ${shown}: standard error\n${err}\nexpected\n${expect_stderr}")
    endif()
  endif()
endfunction()

file(READ "${DATA}/worked_example.csv" csv)
file(READ "${DATA}/worked_example.txt" text)

# The worked example, both forms.
run_table(0 "${csv}" "" --csv 16000000 250000)
run_table(0 "${text}" "" 16000000 250000)
# Texts as typed: leading zeros stay text until converted.
run_table(0 "${csv}" "" --csv 0016000000 00250000)
# A text that cannot be converted: the error box's text (with its final "."),
# UTF-8, nothing on standard output, status 2.
run_table(2 "" "'12a' ist kein gültiger Integerwert.\n" 16000000 12a)
run_table(2 "" "'-' ist kein gültiger Integerwert.\n" --csv - 250000)
run_table(2 "" "' ' ist kein gültiger Integerwert.\n" --csv " " 9600)

# An empty argument is an empty field (0). CMake drops empty list elements,
# so these calls name their arguments one by one.
execute_process(COMMAND ${emulator} ${PROGRAM} --csv "" ""
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "\n1,0,-,-,0,-,-,0\n.*\n18,0 MAX,-,-,0,-,-,0\n$")
  message(SEND_ERROR "baudix-table --csv '' '': status ${rc}\n${out}${err}")
endif()
execute_process(COMMAND ${emulator} ${PROGRAM} --csv " " ""
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 2 OR NOT out STREQUAL "" OR NOT err STREQUAL "' ' ist kein gültiger Integerwert.\n")
  message(SEND_ERROR "baudix-table --csv ' ' '': status ${rc}\n${out}${err}")
endif()
# Wrong usage: status 64, a usage line.
set(usage "usage: baudix-table [--csv] FREQUENCY BAUDRATE\n")
run_table(64 "" "${usage}")
run_table(64 "" "${usage}" 16000000)
run_table(64 "" "${usage}" --csv 16000000)
run_table(64 "" "${usage}" 1 2 3)
