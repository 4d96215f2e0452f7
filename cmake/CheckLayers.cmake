# Script mode: fails when a core folder includes a header from a folder above
# it. The order is read from the layer table of SOURCE_DIR/README.md (rows
# beginning "| `folder/`"), bottom first, so the map and the check can't drift
# apart. Every folder of SOURCE_DIR except the front ends must be in the table.
#
#   cmake -DSOURCE_DIR=<repo>/src -P CheckLayers.cmake

cmake_minimum_required(VERSION 3.22)

set(front_ends cli ui)

file(STRINGS ${SOURCE_DIR}/README.md rows REGEX "^\\| `[a-z]+/`")
set(layers)
foreach(row IN LISTS rows)
  string(REGEX MATCH "^\\| `([a-z]+)/`" _ "${row}")
  list(APPEND layers ${CMAKE_MATCH_1})
endforeach()
if(NOT layers)
  message(FATAL_ERROR "No layer table found in ${SOURCE_DIR}/README.md")
endif()

set(failures)
file(GLOB folders LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
foreach(folder IN LISTS folders)
  if(IS_DIRECTORY ${SOURCE_DIR}/${folder} AND NOT folder IN_LIST front_ends AND NOT folder IN_LIST layers)
    list(APPEND failures "src/${folder}/ is not in the layer table of src/README.md")
  endif()
endforeach()

foreach(layer IN LISTS layers)
  list(FIND layers ${layer} level)
  file(GLOB sources ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp)
  foreach(source IN LISTS sources)
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      string(REGEX MATCH "include[ \t]*[<\"]([A-Za-z_]+)/" _ "${line}")
      set(target "${CMAKE_MATCH_1}")
      if("${target}" STREQUAL "")
        continue()
      endif()
      file(RELATIVE_PATH name ${SOURCE_DIR} ${source})
      if(target IN_LIST front_ends OR target MATCHES "^Q")
        list(APPEND failures "src/${name}: the core uses no front end or toolkit: ${line}")
        continue()
      endif()
      list(FIND layers ${target} target_level)
      if(target_level GREATER level)
        list(APPEND failures "src/${name}: ${layer}/ may not use ${target}/, which lies above it: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "Layer order broken:\n${text}")
endif()
list(JOIN layers " < " order)
message(STATUS "Layers in order: ${order}")
