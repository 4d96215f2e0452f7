# The MIME package must be well formed and must give the desktop's database
# the three extensions and the FOX signature.
execute_process(COMMAND ${XMLLINT} --noout ${PACKAGE} RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "xmllint: ${errors}")
endif()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/packages)
configure_file(${PACKAGE} ${WORK_DIR}/packages/quillmere.xml COPYONLY)
get_filename_component(data_home ${WORK_DIR} DIRECTORY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${data_home} ${UPDATE_MIME_DATABASE} ${WORK_DIR}
                RESULT_VARIABLE status
                OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0 OR NOT out STREQUAL "")
  message(FATAL_ERROR "update-mime-database: ${status}\n${out}")
endif()

file(READ ${WORK_DIR}/globs2 globs)
foreach(pair "application/x-furcadia-fox:\\*\\.fox" "application/x-furcadia-fsh:\\*\\.fsh"
             "application/x-furcadia-fs2:\\*\\.fs2")
  if(NOT globs MATCHES "${pair}")
    message(FATAL_ERROR "globs2 lacks ${pair}:\n${globs}")
  endif()
endforeach()
file(READ ${WORK_DIR}/magic magic HEX)
# "[60:application/x-furcadia-fox]" then a match of "FSHX" at offset 0.
string(HEX "[60:application/x-furcadia-fox]" header)
string(HEX "FSHX" signature)
if(NOT magic MATCHES "${header}0a3e303d0004${signature}")
  message(FATAL_ERROR "magic lacks the FOX signature")
endif()
