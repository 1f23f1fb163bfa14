# Checks the folder-to-folder include rules of the source tree:
#   cmake -DSOURCE_DIR=<tree> -P cmake/check_layers.cmake
# Every quoted include "folder/file.h" of a source folder must name a folder that the table
# below allows it; anything else fails, naming the file, the line and the include.
# The folders form layers: each one may include only those listed before it (and itself),
# so no cycle between folders can arise. tests/, bench/ and fuzz/ are free to include anything.

cmake_minimum_required(VERSION 3.21)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=<tree> -P check_layers.cmake")
endif()

# folder | the folders its code may include
set(_rules
  "engine|engine"
  "expr|engine expr"
  "survey|engine expr survey"
  "tools|engine expr tools"
  "ui|engine ui"
  "survey/windows|engine expr survey ui survey/windows"
  "tools/windows|engine expr tools ui tools/windows"
  "calculator|engine expr survey tools ui survey/windows tools/windows calculator"
  "cli|engine expr survey tools cli"
)

# The folder an include names: "survey/windows/form213.h" -> "survey/windows".
function(_include_folder path out)
  string(REGEX MATCH "^[^/]+/windows/" _win "${path}")
  if(_win)
    string(REGEX REPLACE "/$" "" _win "${_win}")
    set(${out} "${_win}" PARENT_SCOPE)
    return()
  endif()
  string(REGEX MATCH "^[^/]+/" _top "${path}")
  string(REGEX REPLACE "/$" "" _top "${_top}")
  set(${out} "${_top}" PARENT_SCOPE)
endfunction()

set(_known_folders "")
foreach(_rule ${_rules})
  string(REPLACE "|" ";" _parts "${_rule}")
  list(GET _parts 0 _folder)
  list(APPEND _known_folders "${_folder}")
endforeach()
list(APPEND _known_folders tests bench fuzz)

set(_violations 0)
foreach(_rule ${_rules})
  string(REPLACE "|" ";" _parts "${_rule}")
  list(GET _parts 0 _folder)
  list(GET _parts 1 _allowed)
  string(REPLACE " " ";" _allowed "${_allowed}")
  # Only the folder's own files: survey/ is checked without survey/windows/.
  file(GLOB _files "${SOURCE_DIR}/${_folder}/*.h" "${SOURCE_DIR}/${_folder}/*.cpp")
  foreach(_file ${_files})
    file(STRINGS "${_file}" _lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(_line ${_lines})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" _inc "${_line}")
      if(NOT _inc MATCHES "/")
        continue()  # a file of the same folder, or a generated one
      endif()
      _include_folder("${_inc}" _target)
      if(NOT _target IN_LIST _known_folders)
        continue()  # not one of ours (a library's own path)
      endif()
      if(NOT _target IN_LIST _allowed)
        file(RELATIVE_PATH _rel "${SOURCE_DIR}" "${_file}")
        string(REPLACE ";" " " _shown "${_allowed}")
        message(SEND_ERROR "${_rel}: includes \"${_inc}\"; ${_folder}/ may include only: ${_shown}")
        math(EXPR _violations "${_violations} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(_violations GREATER 0)
  message(FATAL_ERROR "${_violations} include(s) cross the folder layers")
endif()
message(STATUS "folder layers: every include allowed")
