# One static library per layer; sources are every .cpp/.h in the listed folders of this project
# (its own source dir, so that the project also builds when another project adds it).
function(tarvix_library name)
  cmake_parse_arguments(ARG "" "PCH" "DIRS;LIBS" ${ARGN})
  set(srcs)
  foreach(d IN LISTS ARG_DIRS)
    file(GLOB found CONFIGURE_DEPENDS
      "${Tarvix_SOURCE_DIR}/${d}/*.cpp" "${Tarvix_SOURCE_DIR}/${d}/*.h")
    list(APPEND srcs ${found})
  endforeach()
  # An empty layer still has to be a library that others can link.
  set(stub "${Tarvix_BINARY_DIR}/layer_${name}.cpp")
  if(NOT EXISTS "${stub}")
    file(WRITE "${stub}" "// layer anchor\nnamespace { [[maybe_unused]] int anchor_${name}; }\n")
  endif()
  add_library(${name} STATIC ${srcs} "${stub}")
  target_include_directories(${name} PUBLIC "${Tarvix_SOURCE_DIR}")
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  if(ARG_PCH)
    target_precompile_headers(${name} PRIVATE "<${ARG_PCH}>")
  endif()
endfunction()

# Every public header compiles on its own, and all of them compile together: one unit per header
# plus one unit that includes them all, without precompiled headers (they would hide a missing
# include). Nothing is linked. The units are rewritten only when their text changes, so a build
# recompiles only the units of changed headers.
function(tarvix_header_check name)
  cmake_parse_arguments(ARG "" "" "DIRS;EXCLUDE;LIBS" ${ARGN})
  set(dir "${CMAKE_CURRENT_BINARY_DIR}/${name}")
  set(units)
  set(all "")
  foreach(d IN LISTS ARG_DIRS)
    file(GLOB headers CONFIGURE_DEPENDS RELATIVE "${Tarvix_SOURCE_DIR}" "${Tarvix_SOURCE_DIR}/${d}/*.h")
    foreach(h IN LISTS headers)
      if(h IN_LIST ARG_EXCLUDE)
        continue()
      endif()
      string(MAKE_C_IDENTIFIER "${h}" id)
      file(CONFIGURE OUTPUT "${dir}/${id}.cpp" CONTENT "#include \"${h}\"\n")
      list(APPEND units "${dir}/${id}.cpp")
      string(APPEND all "#include \"${h}\"\n")
    endforeach()
  endforeach()
  file(CONFIGURE OUTPUT "${dir}/all_headers.cpp" CONTENT "${all}")
  add_library(${name} OBJECT ${units} "${dir}/all_headers.cpp")
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF)
  target_compile_options(${name} PRIVATE -O0 -g0)
endfunction()

# Every source of the given libraries compiles without their precompiled headers, which would
# hide a missing include: one object library of them, compiled cheaply (-O0 -g0) and never linked.
# Built by default, so a source that leans on the precompiled headers fails the normal build.
function(tarvix_sources_check name)
  cmake_parse_arguments(ARG "" "" "TARGETS" ${ARGN})
  set(srcs)
  foreach(t IN LISTS ARG_TARGETS)
    get_target_property(found ${t} SOURCES)
    foreach(f IN LISTS found)
      # The project's own sources, not the layer anchors made in the build tree.
      string(FIND "${f}" "${Tarvix_SOURCE_DIR}/" at)
      if(at EQUAL 0 AND f MATCHES "\\.cpp$")
        list(APPEND srcs "${f}")
      endif()
    endforeach()
  endforeach()
  add_library(${name} OBJECT ${srcs})
  # The libraries' usage requirements without linking them: a link would make these units wait
  # until the libraries are built. Their headers count as system headers here: warnings are the
  # normal build's business.
  foreach(t IN LISTS ARG_TARGETS)
    target_include_directories(${name} SYSTEM PRIVATE "$<TARGET_PROPERTY:${t},INTERFACE_INCLUDE_DIRECTORIES>")
    foreach(p IN ITEMS COMPILE_DEFINITIONS COMPILE_OPTIONS)
      set_property(TARGET ${name} APPEND PROPERTY ${p} "$<TARGET_PROPERTY:${t},INTERFACE_${p}>")
    endforeach()
  endforeach()
  set_target_properties(${name} PROPERTIES AUTOMOC OFF DISABLE_PRECOMPILE_HEADERS ON)
  target_compile_options(${name} PRIVATE -O0 -g0)
endfunction()

# One test executable per folder of tests/<layer>/<folder>, run with the offscreen platform. A folder
# that holds no sources of its own but folders (tests/progrid/xls/<engine layer>) groups them: each
# of its folders is an executable named after both, test_<layer>_<group>_<folder>.
function(tarvix_tests_in dir lib)
  cmake_parse_arguments(ARG "" "PREFIX;LAYER" "" ${ARGN})
  if(NOT ARG_LAYER)
    get_filename_component(ARG_LAYER "${dir}" NAME)
  endif()
  file(GLOB subdirs LIST_DIRECTORIES true "${dir}/*")
  foreach(sd IN LISTS subdirs)
    if(IS_DIRECTORY "${sd}")
      get_filename_component(leaf "${sd}" NAME)
      file(GLOB own CONFIGURE_DEPENDS "${sd}/*.cpp" "${sd}/*.h")
      if(NOT own)
        tarvix_tests_in("${sd}" ${lib} LAYER ${ARG_LAYER} PREFIX "${ARG_PREFIX}${leaf}_")
        continue()
      endif()
      file(GLOB_RECURSE tsrcs CONFIGURE_DEPENDS "${sd}/*.cpp" "${sd}/*.h")
      set(exe "test_${ARG_LAYER}_${ARG_PREFIX}${leaf}")
      add_executable(${exe} ${tsrcs})
      target_link_libraries(${exe} PRIVATE ${lib} tarvix_test_main GTest::gtest GTest::gmock)
      target_precompile_headers(${exe} REUSE_FROM tarvix_test_main)
      add_test(NAME ${exe} COMMAND ${exe})
      set_tests_properties(${exe} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1"
        TIMEOUT 900)
    endif()
  endforeach()
endfunction()
