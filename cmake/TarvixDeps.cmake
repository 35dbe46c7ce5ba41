# Finding what the build needs. Missing packages are gathered by the Debian package that provides
# them, and configuring then stops with one line that names those packages (tarvix_stop_if_missing)
# instead of pages of search paths.
set(TARVIX_MISSING "")

# Finds package <name> (extra arguments go to find_package); <debpkg> is the Debian package that
# provides it.
macro(tarvix_find name debpkg)
  find_package(${name} QUIET ${ARGN})
  if(NOT ${name}_FOUND)
    list(APPEND TARVIX_MISSING ${debpkg})
  endif()
endmacro()

# Qt, one module at a time so that a missing module names its own package; the first missing one
# ends the search, since the later modules need the earlier ones (Charts cannot be found without
# OpenGL).
macro(tarvix_find_qt)
  foreach(_tarvix_qt IN ITEMS Core:qt6-base-dev Gui:qt6-base-dev Widgets:qt6-base-dev
                              PrintSupport:qt6-base-dev Xml:qt6-base-dev
                              OpenGL:libqt6opengl6-dev Charts:qt6-charts-dev)
    string(REPLACE ":" ";" _tarvix_qt "${_tarvix_qt}")
    list(GET _tarvix_qt 0 _tarvix_module)
    list(GET _tarvix_qt 1 _tarvix_deb)
    find_package(Qt6 QUIET COMPONENTS ${_tarvix_module})
    if(NOT Qt6${_tarvix_module}_FOUND)
      list(APPEND TARVIX_MISSING ${_tarvix_deb})
      break()
    endif()
  endforeach()
endmacro()

# A program the build runs; sets the cache entry <var> to its path.
macro(tarvix_find_program var program debpkg)
  find_program(${var} ${program})
  if(NOT ${var})
    list(APPEND TARVIX_MISSING ${debpkg})
  endif()
endmacro()
