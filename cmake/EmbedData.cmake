# Turns shipped data files into a C++ source so that the program never depends on
# files beside its executable. Each file becomes a std::string_view named after
# its identifier, in namespace quillmere::embedded.

set(QUILLMERE_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedFile.cmake)

function(quillmere_embed_data target)
  set(sources)
  foreach(pair IN LISTS ARGN)
    string(REPLACE "=" ";" parts "${pair}")
    list(GET parts 0 name)
    list(GET parts 1 file)
    set(input ${CMAKE_SOURCE_DIR}/${file})
    set(output ${CMAKE_BINARY_DIR}/embedded/${name}.cpp)
    add_custom_command(
      OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DNAME=${name}
              -P ${QUILLMERE_EMBED_SCRIPT}
      DEPENDS ${input} ${QUILLMERE_EMBED_SCRIPT}
      COMMENT "Embedding ${file}"
      VERBATIM)
    list(APPEND sources ${output})
  endforeach()
  target_sources(${target} PRIVATE ${sources})
endfunction()
