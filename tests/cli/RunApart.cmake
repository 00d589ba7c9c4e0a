# Runs kitwright-cli as CTest runs a test (through the Wine runner for the Windows build)
# and checks its exit code, standard output and standard error apart:
#   cmake -DEXE=... [-DEMULATOR=...] -DARGS=a;b -DCODE=n -DOUT=text -DERR=regex -P RunApart.cmake
# OUT is the whole standard output (CR LF counts as LF); ERR a regex standard error must match,
# or empty for none at all.
execute_process(COMMAND ${EMULATOR} ${EXE} ${ARGS}
                RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REPLACE "\r\n" "\n" out "${out}")
string(REPLACE "\r\n" "\n" err "${err}")
set(failed "")
if(NOT code STREQUAL CODE)
  string(APPEND failed "exit code ${code}, expected ${CODE}\n")
endif()
if(NOT out STREQUAL OUT)
  string(APPEND failed "standard output:\n[${out}]\nexpected:\n[${OUT}]\n")
endif()
if(ERR STREQUAL "")
  if(NOT err STREQUAL "")
    string(APPEND failed "standard error should be empty:\n[${err}]\n")
  endif()
elseif(NOT err MATCHES "${ERR}")
  string(APPEND failed "standard error:\n[${err}]\ndoes not match: ${ERR}\n")
endif()
if(failed)
  message(FATAL_ERROR "kitwright-cli ${ARGS}:\n${failed}")
endif()
