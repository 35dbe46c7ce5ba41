# Includes point down only. Run as a script:
#   cmake -DROOT=<source tree> -P cmake/CheckLayers.cmake
# It names every include that reaches a higher layer and fails when there is one.
#
# Layers, bottom to top: framework < progrid (grid, editors, xlsAdapter) < workspace < models < app,
# and no analysis includes another. Inside the workbook engine (xlsAdapter/) the folders are ranked
# as listed in ENGINE; its top-level files (the messages) serve all of them. The engine knows nothing
# of the grid or its editors.
if(NOT ROOT)
  message(FATAL_ERROR "CheckLayers: set ROOT to the source tree")
endif()

set(ENGINE compound records numformat formulas drawing workbook file)

# Each rule: a folder prefix of the including file, then a prefix its includes must not start with.
set(RULES)
foreach(up grid/ editors/ xlsAdapter/ workspace/ models/ app/)
  list(APPEND RULES "framework/|${up}")
endforeach()
foreach(lib grid/ editors/ xlsAdapter/)
  foreach(up workspace/ models/ app/)
    list(APPEND RULES "${lib}|${up}")
  endforeach()
endforeach()
foreach(up models/ app/)
  list(APPEND RULES "workspace/|${up}")
endforeach()
list(APPEND RULES "models/|app/")
file(GLOB models RELATIVE "${ROOT}/models" "${ROOT}/models/*")
foreach(m IN LISTS models)
  foreach(other IN LISTS models)
    if(NOT other STREQUAL m)
      list(APPEND RULES "models/${m}/|models/${other}/")
    endif()
  endforeach()
endforeach()
list(LENGTH ENGINE n)
math(EXPR last "${n} - 1")
foreach(i RANGE ${last})
  list(GET ENGINE ${i} low)
  list(APPEND RULES "xlsAdapter/${low}/|grid/" "xlsAdapter/${low}/|editors/")
  foreach(j RANGE ${last})
    if(j GREATER i)
      list(GET ENGINE ${j} high)
      list(APPEND RULES "xlsAdapter/${low}/|xlsAdapter/${high}/")
    endif()
  endforeach()
endforeach()

file(GLOB_RECURSE sources RELATIVE "${ROOT}"
  "${ROOT}/framework/*.h" "${ROOT}/framework/*.cpp" "${ROOT}/grid/*.h" "${ROOT}/grid/*.cpp"
  "${ROOT}/editors/*.h" "${ROOT}/editors/*.cpp" "${ROOT}/xlsAdapter/*.h" "${ROOT}/xlsAdapter/*.cpp"
  "${ROOT}/workspace/*.h" "${ROOT}/workspace/*.cpp" "${ROOT}/models/*.h" "${ROOT}/models/*.cpp")

set(faults 0)
foreach(f IN LISTS sources)
  file(STRINGS "${ROOT}/${f}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" inc "${line}")
    foreach(rule IN LISTS RULES)
      string(REPLACE "|" ";" parts "${rule}")
      list(GET parts 0 where)
      list(GET parts 1 banned)
      string(FIND "${f}" "${where}" at)
      string(FIND "${inc}" "${banned}" hit)
      if(at EQUAL 0 AND hit EQUAL 0)
        message("${f} includes ${inc}: ${where} lies below ${banned}")
        math(EXPR faults "${faults} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults GREATER 0)
  message(FATAL_ERROR "${faults} include(s) point up a layer")
endif()
list(LENGTH sources count)
message("Layers: ${count} files, every include points down")
