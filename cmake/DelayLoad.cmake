# The program loads the DLLs it needs only for pickers, drops, copies and the version
# resource when they are first called: a faster start and a smaller working set.
#
# kw_system_lib(<var> <dll>) sets <var> to a link item: the delay-load import library for a
# target whose KW_DELAY_LOAD property is on (Kitwright.exe), the ordinary one otherwise
# (tests). A function missing from the .def file still links, through the ordinary library
# MinGW adds last, and then simply loads with the program.
set(KW_DELAYLOAD_DIR ${CMAKE_BINARY_DIR}/delayload)
file(MAKE_DIRECTORY ${KW_DELAYLOAD_DIR})
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(kw_dlltool_flags --kill-at)  # stdcall: the import name drops its @N
endif()
add_custom_target(kw_delayload_libs)

function(kw_system_lib var dll)
  set(def ${PROJECT_SOURCE_DIR}/cmake/delayload/${dll}.def)
  set(lib ${KW_DELAYLOAD_DIR}/lib${dll}_delay.a)
  if(NOT TARGET kw_delayload_${dll})
    set(used_def ${def})
    if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
      # x64 has one calling convention and undecorated names.
      file(READ ${def} text)
      string(REGEX REPLACE "@[0-9]+" "" text "${text}")
      set(used_def ${KW_DELAYLOAD_DIR}/${dll}.def)
      file(WRITE ${used_def}.in "${text}")
      configure_file(${used_def}.in ${used_def} COPYONLY)
      set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
    endif()
    add_custom_command(OUTPUT ${lib}
                       COMMAND ${CMAKE_DLLTOOL} ${kw_dlltool_flags} --input-def ${used_def}
                               --output-delaylib ${lib} --dllname ${dll}.dll
                       DEPENDS ${used_def} ${def} VERBATIM)
    add_custom_target(kw_delayload_${dll} DEPENDS ${lib})
    add_dependencies(kw_delayload_libs kw_delayload_${dll})
  endif()
  set(${var} "$<IF:$<BOOL:$<TARGET_PROPERTY:KW_DELAY_LOAD>>,${lib},${dll}>" PARENT_SCOPE)
endfunction()

if(WIN32)
  kw_system_lib(KW_LIB_COMDLG32 comdlg32)
  kw_system_lib(KW_LIB_SHELL32 shell32)
  kw_system_lib(KW_LIB_SHLWAPI shlwapi)
  kw_system_lib(KW_LIB_VERSION version)
  kw_system_lib(KW_LIB_OLE32 ole32)
endif()
