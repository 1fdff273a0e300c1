# Runs baudix-table as a user would and checks its output and exit status:
#   cmake -DPROGRAM=<exe> [-DEMULATOR=<cmd|arg|...>] -DDATA=<dir> -DHOST_CC=<cc>
#         -DWORK=<dir> -P baudix_table_check.cmake
# The emulator (Wine for the Windows build) is given with "|" between its words.
# Generated headers are compiled in WORK by the host's C compiler.
cmake_policy(VERSION 3.25)
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
if(NOT rc EQUAL 0 OR NOT out MATCHES "\n1,0,-,-,0,-,-,0,-,-,-,-,-,-\n.*\n18,0 MAX,-,-,0,-,-,0,-,-,-,-,-,-\n$")
  message(SEND_ERROR "baudix-table --csv '' '': status ${rc}\n${out}${err}")
endif()
execute_process(COMMAND ${emulator} ${PROGRAM} --csv " " ""
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 2 OR NOT out STREQUAL "" OR NOT err STREQUAL "' ' ist kein gültiger Integerwert.\n")
  message(SEND_ERROR "baudix-table --csv ' ' '': status ${rc}\n${out}${err}")
endif()
# Wrong usage: status 64, the usage lines. Arguments are separated by ";".
set(usage "usage: baudix-table [--device NAME] [--csv | --json] [--hex] [--frame FRAME] FREQUENCY BAUDRATE
       baudix-table [--device NAME] [--csv | --json] [--hex] [--frame FRAME] --crystals BAUDRATE
       baudix-table [--device NAME] [--frame FRAME] --header FREQUENCY BAUDRATE
       baudix-table --devices
       baudix-table --help\n")
run_table(64 "" "${usage}")
foreach(call "16000000" "--csv;16000000" "1;2;3" "--bogus;1;2" "--frame;8X1;1;2" "--frame;9N3;1;2"
        "--frame" "--csv;--json;1;2" "--csv;--csv;1;2" "--hex;--json;1;2" "--hex;--header;1;2"
        "--crystals;--header;1" "--crystals;1;2" "--help;1" "--json;--help")
  run_table(64 "" "${usage}" ${call})
endforeach()
# Output variables and file(READ) drop a "\r": only the bytes show it.
execute_process(COMMAND ${emulator} ${PROGRAM} --help RESULT_VARIABLE rc OUTPUT_FILE "${WORK}/help.txt")
file(READ "${WORK}/help.txt" out)
file(READ "${WORK}/help.txt" bytes HEX)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^usage: .*--crystals.*--header.*Examples:" OR bytes MATCHES "^(..)*0d")
  message(SEND_ERROR "baudix-table --help: status ${rc}\n${out}")
endif()

# Other forms: hexadecimal registers, the crystal survey as text, the frame.
run_table(0 "${csv}" "" --frame 8N1 --csv 16000000 250000)
function(expect_line pattern)
  execute_process(COMMAND ${emulator} ${PROGRAM} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "${pattern}")
    string(JOIN " " shown ${ARGN})
    message(SEND_ERROR "baudix-table ${shown}: status ${rc}, no line like ${pattern} in\n${out}")
  endif()
endfunction()
# Hexadecimal: the register with 3 digits, UBRRH with 1, UBRRL with 2.
expect_line("\n76800 +0x00C +0\\.16% +0x019 +0\\.16%\n" --hex 16000000 250000)
expect_line("\n10,76800,0x00C,0\\.16%,0,0x019,0\\.16%,0,0x0,0x0C,ok,0x0,0x19,ok\n" --csv --hex 16000000 250000)
expect_line("^ +U2X = 0 +U2X = 1\nFrequenz \\[Hz\\] +UBBR +ERROR +UBBR +ERROR\n1000000 +- +- +0 +8\\.51% x\n.*\n14745600 +7 +0\\.00% \\* +15 +0\\.00% \\*\n16000000 +8 +-3\\.55% ! +16 +2\\.12% !\n.*\nBaudrate 115200 bps, frame 8N1: " --crystals 115200)
expect_line("\n230400 +3 +8\\.51% x +8 +-3\\.55% x\n.*frame 9O2: " --frame 9O2 16000000 250000)

# Whether a JSON number and an error cell ("-3.55%") agree: the cell is the
# number rounded to hundredths, so in thousandths they lie at most 5 apart
# (the number is cut after its third decimal; scientific forms are tiny).
function(same_error number cell out)
  set(${out} FALSE PARENT_SCOPE)
  if(number MATCHES "e-")
    set(number 0)
  endif()
  if(NOT number MATCHES "^-?[0-9]+(\\.[0-9]*)?$" OR NOT cell MATCHES "^-?[0-9]+\\.[0-9][0-9]%$")
    return()
  endif()
  string(REGEX REPLACE "^(-?)([0-9]+)\\.?([0-9]*)$" "\\1;\\2;\\3000" parts "${number}")
  list(GET parts 1 whole)
  list(GET parts 2 decimals)
  string(SUBSTRING "${decimals}" 0 3 decimals)
  math(EXPR thousandths "${whole} * 1000 + 1${decimals} - 1000")
  string(REGEX REPLACE "^(-?)([0-9]+)\\.([0-9][0-9])%$" "\\1;\\2;\\3" cell_parts "${cell}")
  list(GET cell_parts 1 whole)
  list(GET cell_parts 2 cents)
  math(EXPR difference "${thousandths} - ${whole} * 1000 - 1${cents}0 + 1000")
  list(GET parts 0 sign)
  list(GET cell_parts 0 cell_sign)
  if(difference GREATER_EQUAL -5 AND difference LESS_EQUAL 5 AND (sign STREQUAL cell_sign OR thousandths LESS 5))
    set(${out} TRUE PARENT_SCOPE)
  endif()
endfunction()

# --json read back and held against --csv of the same arguments, field by
# field; `frequency_text` is the typed frequency ("" for a survey).
function(check_json frequency_text)
  execute_process(COMMAND ${emulator} ${PROGRAM} --json ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE json)
  execute_process(COMMAND ${emulator} ${PROGRAM} --csv ${ARGN} OUTPUT_VARIABLE csv)
  string(JOIN " " shown ${ARGN})
  if(NOT rc EQUAL 0)
    message(SEND_ERROR "baudix-table --json ${shown}: status ${rc}")
    return()
  endif()
  string(STRIP "${csv}" csv)
  string(REPLACE "\n" ";" lines "${csv}")
  list(POP_FRONT lines header)
  string(REPLACE "," ";" names "${header}")
  if(frequency_text STREQUAL "")
    set(list crystals)
  else()
    set(list rows)
    string(JSON typed GET "${json}" frequency_text)
    string(JSON f GET "${json}" frequency)
    if(NOT typed STREQUAL frequency_text OR NOT f EQUAL frequency_text)
      message(SEND_ERROR "baudix-table --json ${shown}: frequency ${typed} / ${f}")
    endif()
  endif()
  # The model as listed and its family, where the caller names them.
  if(DEFINED expected_device)
    string(JSON named GET "${json}" device)
    string(JSON key GET "${json}" family)
    if(NOT named STREQUAL expected_device OR NOT key STREQUAL expected_family)
      message(SEND_ERROR "baudix-table --json ${shown}: device ${named}, family ${key}")
    endif()
  endif()
  list(GET ARGN -1 rate_text)
  string(JSON typed GET "${json}" baud_rate_text)
  string(JSON b GET "${json}" baud_rate)
  string(JSON frame GET "${json}" frame)
  if(NOT typed STREQUAL rate_text OR NOT b EQUAL rate_text OR NOT frame MATCHES "^[5-9][NEO][12]$")
    message(SEND_ERROR "baudix-table --json ${shown}: rate ${typed} / ${b}, frame ${frame}")
  endif()
  string(JSON count LENGTH "${json}" ${list})
  list(LENGTH lines csv_count)
  if(NOT count EQUAL csv_count)
    message(SEND_ERROR "baudix-table --json ${shown}: ${count} lines, CSV ${csv_count}")
    return()
  endif()
  math(EXPR last "${count} - 1")
  foreach(i RANGE ${last})
    list(GET lines ${i} line)
    string(REPLACE "," ";" fields "${line}")
    set(index 0)
    foreach(name ${names})
      list(GET fields ${index} value)
      math(EXPR index "${index} + 1")
      if(name MATCHES "^(.*)_(u2x[01]|clk2x[01]|lbt32|lbtbest)$")
        set(path ${CMAKE_MATCH_2} ${CMAKE_MATCH_1})
        list(APPEND groups ${CMAKE_MATCH_2})
      else()
        set(path ${name})
      endif()
      # A register column named after its header ("bsel_bscale") is the
      # group's "register" text.
      string(JSON type ERROR_VARIABLE missing TYPE "${json}" ${list} ${i} ${path})
      if(missing)
        list(POP_BACK path)
        list(APPEND path register)
      endif()
      string(JSON type TYPE "${json}" ${list} ${i} ${path})
      string(JSON got GET "${json}" ${list} ${i} ${path})
      if(type STREQUAL "NULL")
        set(got "-")
      elseif(type STREQUAL "BOOLEAN")
        if(got)
          set(got 1)
        else()
          set(got 0)
        endif()
      endif()
      if(NOT got STREQUAL value)
        message(SEND_ERROR "baudix-table --json ${shown}: ${list}[${i}].${path} ${got}, CSV ${value}")
      endif()
    endforeach()
    list(REMOVE_DUPLICATES groups)
    foreach(mode ${groups})
      string(JSON error GET "${json}" ${list} ${i} ${mode} error)
      string(JSON type TYPE "${json}" ${list} ${i} ${mode} error_percent)
      string(JSON number GET "${json}" ${list} ${i} ${mode} error_percent)
      if(type STREQUAL "NULL")
        string(COMPARE EQUAL "${error}" "-" same)
      else()
        same_error("${number}" "${error}" same)
      endif()
      if(NOT same)
        message(SEND_ERROR "baudix-table --json ${shown}: ${list}[${i}].${mode} error ${error}, number ${number}")
      endif()
    endforeach()
  endforeach()
endfunction()
check_json(16000000 16000000 250000)
check_json(0016000000 --frame 9E2 0016000000 00115200)
check_json(1843200 1843200 115200)
check_json("" --frame 5O1 --crystals 115200)
check_json("" --crystals 9600)
# Every family: the JSON names the model as listed and the family, and
# holds what the CSV holds (the register text and the family's fields).
foreach(device_family "ATMEGA328P;ATmega328P;classic" "at90s2313;AT90S2313;uart8" "AT90S4433;AT90S4433;uart12"
        "ATtiny167;ATtiny167;lin" "atmega4809;ATmega4809;fractional" "ATxmega128A4U;ATxmega128A4U;xmega")
  list(GET device_family 0 device)
  list(GET device_family 1 expected_device)
  list(GET device_family 2 expected_family)
  check_json(16000000 --device ${device} 16000000 115200)
  check_json("" --device ${device} --crystals 115200)
endforeach()
unset(expected_device)
check_json(32000000 --device ATxmega32E5 --frame 5N1 32000000 2000000)

# The model list: one line per model, name and family key, sorted.
execute_process(COMMAND ${emulator} ${PROGRAM} --devices RESULT_VARIABLE rc OUTPUT_VARIABLE devices)
string(REGEX MATCHALL "[^\n]+\n" device_lines "${devices}")
list(LENGTH device_lines device_count)
if(NOT rc EQUAL 0 OR NOT device_count EQUAL 85 OR NOT devices MATCHES "^AT90CAN128\tclassic\n"
   OR NOT devices MATCHES "\nATmega128\tclassic\nATmega1280\tclassic\n"
   OR NOT devices MATCHES "\nATtiny87\tlin\nATxmega128A1U\txmega\n.*\nAVR64EA48\tfractional\n$")
  message(SEND_ERROR "baudix-table --devices: status ${rc}, ${device_count} lines\n${devices}")
endif()
# An unknown model: status 64, named, nothing on standard output.
run_table(64 "" "baudix-table: unknown model 'ATmega999'; baudix-table --devices lists the models\n"
          --device ATmega999 16000000 115200)
run_table(64 "" "${usage}" --device)
run_table(64 "" "${usage}" --device ATmega8 --device ATmega16 1 2)
run_table(64 "" "${usage}" --devices 1)
# The text table names the groups as the family does.
expect_line("^ +LBT = 32 +LBT 8–63\nBaudrate \\[bps\\] +LDIV +ERROR +LDIV/LBT +ERROR\n115200 +3 +8\\.51% x +2/46 +0\\.64%\n"
            --device ATtiny167 16000000 115200)
expect_line("\nCLK_PER \\[Hz\\] +BAUD +ERROR +BAUD +ERROR\n" --device ATtiny1614 --crystals 9600)
expect_line("\n115200 +0x417/-6 +0\\.01% \\* +0x437/-5 +0\\.01%\n" --device ATxmega128A4U --hex 32000000 115200)
expect_line("\n9600 +0x19 +0\\.16% +- +-\n" --device AT90S8515 --hex 4000000 9600)
expect_line("\n11,115200,0x022C,-0\\.08%,0,0x0457,0\\.01%,0,0x02,0x2C,ok,0x04,0x57,ok\n"
            --device ATmega4809 --csv --hex 16000000 115200)
expect_line("\"lbt32\": {\"register\": \"3\", \"ldiv\": 3, \"lbt\": 32, \"linbrrh\": 0, \"linbrrl\": 3, \"linbtr\": 32, [^}]*},\n +\"lbtbest\": {\"register\": \"2/46\", \"ldiv\": 2, \"lbt\": 46, \"linbrrh\": 0, \"linbrrl\": 2, \"linbtr\": 174, \"error\": \"0\\.64%\", [^}]*\"verdict\": \"ok\", \"actual_rate\": 115942}"
            --json --device ATtiny167 16000000 115200)
expect_line("\"u2x1\": {\"register\": \"-\", \"ubbr\": null, \"ubrrh\": null, \"ubrrl\": null, \"error\": \"-\", \"error_percent\": null, \"exact\": false, \"verdict\": null, \"actual_rate\": null}"
            --json --device AT90S2313 4000000 9600)
run_table(2 "" "'12a' ist kein gültiger Integerwert.\n" --json 16000000 12a)
run_table(2 "" "'9k6' ist kein gültiger Integerwert.\n" --crystals 9k6)

# --header: the chosen mode, compiled by the host's C compiler; status 3 and
# the reason when neither mode is within the recommended error.
function(check_header frequency rate u2x ubrr)
  execute_process(COMMAND ${emulator} ${PROGRAM} --header ${frequency} ${rate}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE header ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(SEND_ERROR "baudix-table --header ${frequency} ${rate}: status ${rc}\n${err}")
    return()
  endif()
  file(WRITE "${WORK}/usart_baud.h" "${header}")
  file(WRITE "${WORK}/use_header.c" "#include \"usart_baud.h\"\n"
       "_Static_assert(BAUDIX_U2X == ${u2x} && BAUDIX_UBRR == ${ubrr}, \"mode\");\n"
       "_Static_assert((BAUDIX_UBRRH << 8 | BAUDIX_UBRRL) == BAUDIX_UBRR, \"bytes\");\n"
       "_Static_assert(BAUDIX_F_OSC == ${frequency}UL && BAUDIX_BAUD == ${rate}UL, \"inputs\");\n")
  execute_process(COMMAND ${HOST_CC} -std=c11 -Wall -Wextra -Werror -fsyntax-only use_header.c
                  WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(SEND_ERROR "baudix-table --header ${frequency} ${rate}: expected U2X ${u2x} UBRR ${ubrr}\n${header}\n${err}")
  endif()
endfunction()
check_header(14745600 115200 0 7)    # both exact: normal speed on a tie
check_header(16000000 9600 0 103)    # both 0.16%
check_header(16000000 4800 1 416)    # both ok, double speed nearer
check_header(16000000 57600 1 34)    # only double speed ok
check_header(10000000 76800 0 7)     # only normal speed ok (1.73%)
check_header(16000000 2000000 1 0)   # normal speed has no value
check_header(20000000 1000 0 1249)   # 12 bits: UBRRH 4
# Every family's header, compiled: its defines, bytes that make up the
# register, the inputs under the family's names.
function(check_family_header frequency rate device asserts)
  execute_process(COMMAND ${emulator} ${PROGRAM} --device ${device} ${ARGN} --header ${frequency} ${rate}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE header ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT header MATCHES "^/\\* Baud-rate register of the ${device} for ${frequency} Hz")
    message(SEND_ERROR "baudix-table --device ${device} --header ${frequency} ${rate}: status ${rc}\n${header}${err}")
    return()
  endif()
  file(WRITE "${WORK}/family_baud.h" "${header}")
  file(WRITE "${WORK}/use_family_header.c" "#include \"family_baud.h\"\n${asserts}\n")
  execute_process(COMMAND ${HOST_CC} -std=c11 -Wall -Wextra -Werror -fsyntax-only use_family_header.c
                  WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(SEND_ERROR "baudix-table --device ${device} --header ${frequency} ${rate}:\n${header}\n${err}")
  endif()
endfunction()
check_family_header(4000000 9600 AT90S2313
  "_Static_assert(BAUDIX_UBRR == 25 && BAUDIX_UBRRH == 0 && BAUDIX_UBRRL == 25 && BAUDIX_U2X == 0, \"\");
   _Static_assert(BAUDIX_F_OSC == 4000000UL && BAUDIX_BAUD == 9600UL, \"\");")
check_family_header(16000000 115200 ATtiny167
  "_Static_assert(BAUDIX_LDIV == 2 && BAUDIX_LBT == 46 && BAUDIX_LINBTR == (0x80 | 46), \"\");
   _Static_assert((BAUDIX_LINBRRH << 8 | BAUDIX_LINBRRL) == BAUDIX_LDIV && BAUDIX_F_OSC == 16000000UL, \"\");")
check_family_header(3333333 9600 ATmega4809
  "_Static_assert(BAUDIX_BAUD == 1389 && BAUDIX_BAUDH == 0x05 && BAUDIX_BAUDL == 0x6D && BAUDIX_CLK2X == 0, \"\");
   _Static_assert(BAUDIX_F_PER == 3333333UL && BAUDIX_BAUDRATE == 9600UL, \"\");")
check_family_header(32000000 115200 ATxmega128A4U
  "_Static_assert(BAUDIX_BSEL == 1047 && BAUDIX_BSCALE == -6 && BAUDIX_CLK2X == 0, \"\");
   _Static_assert(BAUDIX_BAUDCTRLA == (1047 & 0xFF) && BAUDIX_BAUDCTRLB == (0xA0 | 1047 >> 8), \"\");
   _Static_assert(BAUDIX_F_PER == 32000000UL && BAUDIX_BAUD == 115200UL, \"\");")
# The frame bounds BSCALE, and so the header's setting.
check_family_header(2000000 115200 ATxmega32E5
  "_Static_assert(BAUDIX_BSEL == 37 && BAUDIX_BSCALE == -5 && BAUDIX_CLK2X == 1, \"\");" --frame 5N1)
run_table(3 "" "baudix-table: no setting for 2400 bps at 10000000 Hz keeps the error within the recommended 2.0% (U2X = 0) for frame 8N1: U2X = 0 has no register value\n"
          --device AT90S2313 --header 10000000 2400)
run_table(3 "" "baudix-table: no setting for 115200 bps at 16000000 Hz keeps the error within the recommended 2.0% (U2X = 0) or 1.5% (U2X = 1) for frame 8N1: U2X = 0 -3.55% (marginal), U2X = 1 2.12% (marginal)\n" --header 16000000 115200)
run_table(3 "" "baudix-table: no setting for 2500000 bps at 16000000 Hz keeps the error within the recommended 1.5% (U2X = 0) or 1.0% (U2X = 1) for frame 9E1: U2X = 0 has no register value, U2X = 1 has no register value\n" --frame 9E1 --header 16000000 2500000)
