# Runs kitwright-cli as CTest runs a test (through the Wine runner for the Windows build)
# and checks its exit code, standard output and standard error apart:
#   cmake -DEXE=... [-DEMULATOR=...] -DARGS=a;b -DCODE=n -DOUT=regex -DERR=regex -P RunApart.cmake
# OUT and ERR are regexes the standard output and error must match (CR LF counts as LF); an
# empty one means that stream must stay empty.
execute_process(COMMAND ${EMULATOR} ${EXE} ${ARGS}
                RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REPLACE "\r\n" "\n" out "${out}")
string(REPLACE "\r\n" "\n" err "${err}")
set(failed "")
if(NOT code STREQUAL CODE)
  string(APPEND failed "exit code ${code}, expected ${CODE}\n")
endif()
set(out_name "standard output")
set(err_name "standard error")
foreach(stream out err)
  string(TOUPPER ${stream} expected)
  if("${${expected}}" STREQUAL "")
    if(NOT "${${stream}}" STREQUAL "")
      string(APPEND failed "${${stream}_name} should be empty:\n[${${stream}}]\n")
    endif()
  elseif(NOT "${${stream}}" MATCHES "${${expected}}")
    string(APPEND failed "${${stream}_name}:\n[${${stream}}]\ndoes not match: ${${expected}}\n")
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "kitwright-cli ${ARGS}:\n${failed}")
endif()
