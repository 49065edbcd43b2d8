# qn_widl(<target-var> IDL <file> [TLB] [HEADER] [IID] [DIR <output dir>])
# Runs widl on one IDL file, producing the outputs asked for in the binary dir
# (or in DIR, so that two parts of the build may compile the same IDL each for itself).
# System IDL (oaidl.idl, ocidl.idl, ...) comes from Wine's development headers.
set(QN_WIDL_INCLUDES -I/usr/include/wine/wine/windows -I${CMAKE_SOURCE_DIR}/resources)

function(qn_widl out_var)
  cmake_parse_arguments(ARG "TLB;HEADER;IID" "IDL;DIR" "" ${ARGN})
  get_filename_component(base ${ARG_IDL} NAME_WE)
  set(dir ${CMAKE_BINARY_DIR}/generated)
  if(ARG_DIR)
    set(dir ${ARG_DIR})
  endif()
  set(outputs)
  set(flags)
  if(ARG_HEADER)
    list(APPEND outputs ${dir}/${base}.h)
    list(APPEND flags -h -H ${dir}/${base}.h)
  endif()
  if(ARG_IID)
    list(APPEND outputs ${dir}/${base}_i.c)
    list(APPEND flags -u -U ${dir}/${base}_i.c)
  endif()
  if(ARG_TLB)
    list(APPEND outputs ${dir}/${base}.tlb)
    list(APPEND flags -t -T ${dir}/${base}.tlb)
  endif()
  add_custom_command(
    OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${QN_WIDL} --win64 ${QN_WIDL_INCLUDES} -L /usr/lib/x86_64-linux-gnu/wine/x86_64-windows
            ${flags} ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_IDL}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_IDL}
    COMMENT "widl ${ARG_IDL}"
    VERBATIM)
  set(${out_var} ${outputs} PARENT_SCOPE)
endfunction()
