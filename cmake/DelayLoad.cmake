# The program loads the DLLs it needs only for pickers, drops, copies and the version
# resource when they are first called: a faster start and a smaller working set.
#
# kw_system_lib(<var> <dll>) sets <var> to a link item: the delay-load import library for a
# target whose KW_DELAY_LOAD property is on (Kitwright.exe), the ordinary one otherwise
# (tests). A function missing from the .def file still links, through the ordinary library
# MinGW adds last, and then simply loads with the program. The 32-bit build, which cannot be
# run here, keeps ordinary imports.
set(KW_DELAYLOAD_DIR ${CMAKE_BINARY_DIR}/delayload)
add_custom_target(kw_delayload_libs)

function(kw_system_lib var dll)
  if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(${var} ${dll} PARENT_SCOPE)
    return()
  endif()
  set(def ${PROJECT_SOURCE_DIR}/cmake/delayload/${dll}.def)
  set(lib ${KW_DELAYLOAD_DIR}/lib${dll}_delay.a)
  add_custom_command(OUTPUT ${lib}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${KW_DELAYLOAD_DIR}
                     COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --output-delaylib ${lib} --dllname ${dll}.dll
                     DEPENDS ${def} VERBATIM)
  add_custom_target(kw_delayload_${dll} DEPENDS ${lib})
  add_dependencies(kw_delayload_libs kw_delayload_${dll})
  set(${var} "$<IF:$<BOOL:$<TARGET_PROPERTY:KW_DELAY_LOAD>>,${lib},${dll}>" PARENT_SCOPE)
endfunction()

kw_system_lib(KW_LIB_COMDLG32 comdlg32)
kw_system_lib(KW_LIB_SHELL32 shell32)
kw_system_lib(KW_LIB_SHLWAPI shlwapi)
kw_system_lib(KW_LIB_VERSION version)
kw_system_lib(KW_LIB_OLE32 ole32)
