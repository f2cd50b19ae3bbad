# Compiles resource scripts with Wine's resource compiler; winegcc links the .res files.
find_program(WRC_PROGRAM wrc REQUIRED)

# mosaic_compile_resources(<out-var> <prefix> <rc-files> INCLUDES <dirs> DEPENDS <files>)
# sets <out-var> to the .res files, named <prefix><name>.res in the current binary folder.
function(mosaic_compile_resources out_var prefix)
  cmake_parse_arguments(ARG "" "" "SOURCES;INCLUDES;DEPENDS" ${ARGN})
  set(includes)
  foreach(dir ${ARG_INCLUDES})
    list(APPEND includes -I "${dir}")
  endforeach()
  set(res_files)
  foreach(rc ${ARG_SOURCES})
    get_filename_component(name "${rc}" NAME_WE)
    set(res "${CMAKE_CURRENT_BINARY_DIR}/${prefix}${name}.res")
    add_custom_command(OUTPUT "${res}"
      COMMAND "${WRC_PROGRAM}" --nostdinc ${includes} -I /usr/include/wine/wine/windows
              -DUNICODE -D_UNICODE -o "${res}" "${rc}"
      DEPENDS "${rc}" ${ARG_DEPENDS}
      COMMENT "Compiling resources ${prefix}${name}.rc")
    list(APPEND res_files "${res}")
  endforeach()
  set(${out_var} ${res_files} PARENT_SCOPE)
endfunction()
