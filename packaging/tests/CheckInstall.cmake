# Installs the build into a staging prefix and checks that every file is
# there, the programs runnable, and the man pages free of formatting warnings.
include(${CMAKE_CURRENT_LIST_DIR}/ExpectedFiles.cmake)
file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${STAGE}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

foreach(file IN LISTS EXPECTED_FILES)
  if(NOT EXISTS ${STAGE}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

file(GLOB_RECURSE installed RELATIVE ${STAGE} ${STAGE}/*)
foreach(file IN LISTS installed)
  list(FIND EXPECTED_FILES ${file} index)
  if(index EQUAL -1)
    message(FATAL_ERROR "installed but not expected: ${file}")
  endif()
endforeach()

foreach(program quillmere quillmere-cli)
  execute_process(COMMAND ${STAGE}/bin/${program} --help RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0 OR NOT out MATCHES "quillmere")
    message(FATAL_ERROR "installed ${program} --help: ${status}\n${out}")
  endif()
endforeach()

if(MAN)
  foreach(page quillmere quillmere-cli)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 MANWIDTH=80
                            ${MAN} --warnings -E UTF-8 -l ${STAGE}/share/man/man1/${page}.1.gz
                    RESULT_VARIABLE status OUTPUT_VARIABLE text ERROR_VARIABLE warnings)
    if(NOT status EQUAL 0 OR NOT warnings STREQUAL "" OR NOT text MATCHES "SYNOPSIS")
      message(FATAL_ERROR "man page ${page}: ${status}\n${warnings}")
    endif()
  endforeach()
endif()
