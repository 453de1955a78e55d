# lc_string_table(<target> <source.strings> <symbol>)
#   Generates <symbol>.h (the ids) and, from the same source, the native
#   table (.cpp, compiled into <target>) or the Windows STRINGTABLE (.rc).
# lc_string_resource(<exe-or-dll> <symbol>)
#   Windows: links the generated STRINGTABLE into a binary's resources
#   (resources in a static library are never pulled in by the linker).
function(lc_string_table target source symbol)
  get_filename_component(src "${source}" ABSOLUTE)
  set(outdir "${PROJECT_BINARY_DIR}/strings")
  set(h "${outdir}/${symbol}.h")
  set(rc "${outdir}/${symbol}.rc")
  set(cpp "${outdir}/${symbol}.cpp")
  add_custom_command(
    OUTPUT "${h}" "${rc}" "${cpp}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${outdir}"
    COMMAND ${Python3_EXECUTABLE} "${PROJECT_SOURCE_DIR}/tools/gen_strings.py" "${src}"
            --symbol ${symbol} --header "${h}" --rc "${rc}" --cpp "${cpp}"
    DEPENDS "${src}" "${PROJECT_SOURCE_DIR}/tools/gen_strings.py" "${PROJECT_SOURCE_DIR}/tools/gen_common.py"
    COMMENT "String table ${symbol}")
  add_custom_target(${symbol}_gen DEPENDS "${h}" "${rc}" "${cpp}")
  add_dependencies(${target} ${symbol}_gen)
  target_include_directories(${target} PUBLIC "${outdir}")
  set_property(GLOBAL PROPERTY LC_RC_${symbol} "${rc}")
  if(NOT WIN32)
    target_sources(${target} PRIVATE "${cpp}")
  endif()
endfunction()

function(lc_string_resource target symbol)
  if(WIN32)
    get_property(rc GLOBAL PROPERTY LC_RC_${symbol})
    set_source_files_properties("${rc}" PROPERTIES GENERATED TRUE)
    target_sources(${target} PRIVATE "${rc}")
    add_dependencies(${target} ${symbol}_gen)
  endif()
endfunction()
