# Fails when a source file under src/ includes a header from a layer above its own, or from the
# other wing, so the include arrows keep running one way. The layers, from the ground up:
#   common -> platform -> ui -> settings -> sitelist -> blocking -> app -> a wing (linux, windows)
# Each layer includes only from its own and the ones below; the two wings never include each
# other.
# Usage: cmake -DSOURCE_DIR=<repository>/src -P CheckIncludeArrows.cmake

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

set(layers common platform ui settings sitelist blocking app)

# The layer of a path relative to src/ (its folder's place in the list above, the wings on top),
# and which wing it is in, if any; -1 for a path outside every layer.
function(layer_of path out_level out_wing)
  set(level -1)
  set(wing "")
  if(path MATCHES "^(linux|windows)/")
    list(LENGTH layers level)
    set(wing ${CMAKE_MATCH_1})
  elseif(path MATCHES "^([a-z]+)/")
    list(FIND layers ${CMAKE_MATCH_1} level)
  endif()
  set(${out_level} ${level} PARENT_SCOPE)
  set(${out_wing} "${wing}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(faults "")
foreach(source IN LISTS sources)
  layer_of("${source}" own own_wing)
  if(own LESS 0)
    list(APPEND faults "${source} is in no layer")
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" header "${line}")
    layer_of("${header}" theirs their_wing)
    if(theirs GREATER own)
      list(APPEND faults "${source} includes ${header}, a layer above its own")
    elseif(own_wing AND their_wing AND NOT own_wing STREQUAL their_wing)
      list(APPEND faults "${source} includes ${header}, from the other wing")
    endif()
  endforeach()
endforeach()

list(LENGTH sources count)
if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Includes reaching up a layer or across the wings:\n  ${text}")
endif()
message(STATUS "Include arrows run one way in ${count} source files")
