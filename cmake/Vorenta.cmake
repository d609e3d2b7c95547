# Build helpers shared by every folder.
#
#   vorenta_library(<name> [DEPS <targets>...] [PRIVATE_DEPS <targets>...] [AUTOMOC]
#                   [TEST_DEPS <targets>...] [QT_TESTS])
#
# makes the static library vorenta_<name> from every .cpp of the calling folder and its
# subfolders except tests/ and resources/; the include root is the repository root, so code
# includes "platform/rtl/SysUtils.h". Files under resources/ are compiled in and found by
# name at run time (see platform/rtl/Resources.h). tests/*.cpp become one test program,
# vorenta_<name>_tests, registered with CTest.

set(VORENTA_WARNINGS -Wall -Wextra)

function(vorenta_library name)
  cmake_parse_arguments(ARG "AUTOMOC;QT_TESTS" "" "DEPS;PRIVATE_DEPS;TEST_DEPS" ${ARGN})
  set(target vorenta_${name})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  # A folder's tests, resources and programs are not part of its library.
  list(FILTER sources EXCLUDE REGEX "/(tests|resources|programs)/")
  set(cpp_sources ${sources})
  list(FILTER cpp_sources INCLUDE REGEX "\\.cpp$")
  if(NOT cpp_sources)
    # A folder whose first sources are still being written: a header-only library for now.
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${target} PRIVATE ${VORENTA_WARNINGS})
  target_link_libraries(${target} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  if(ARG_AUTOMOC)
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
  endif()
  vorenta_resources(${target})

  if(VORENTA_TESTS)
    file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
    if(test_sources)
      add_executable(${target}_tests ${test_sources})
      target_compile_options(${target}_tests PRIVATE ${VORENTA_WARNINGS})
      target_link_libraries(${target}_tests PRIVATE ${target} ${ARG_TEST_DEPS}
                            vorenta_crash_report GTest::gtest GTest::gtest_main GTest::gmock)
      # Exported symbols give the crash report's call stack function names.
      set_target_properties(${target}_tests PROPERTIES ENABLE_EXPORTS ON)
      # One value per property: the discovery script splits lists at every separator.
      set(test_properties ENVIRONMENT "LC_ALL=C.UTF-8")
      if(ARG_QT_TESTS)
        list(APPEND test_properties ENVIRONMENT_MODIFICATION "QT_QPA_PLATFORM=set:offscreen")
      endif()
      gtest_discover_tests(${target}_tests DISCOVERY_MODE PRE_TEST
                           WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                           PROPERTIES ${test_properties})
    endif()
  endif()
endfunction()

# Files under <folder>/resources/ go into a small library that is linked whole, so that the
# table registering them survives static linking. Each file is embedded with .incbin and
# found by its path relative to resources/, e.g. "grammars/pascal.xml".
function(vorenta_resources target)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/*)
  if(NOT files)
    return()
  endif()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  set(body "// Generated from ${CMAKE_CURRENT_SOURCE_DIR}/resources: do not edit.\n")
  string(APPEND body "#include \"platform/rtl/Resources.h\"\n#include <cstddef>\n\n")
  set(entries "")
  set(index 0)
  foreach(file IN LISTS files)
    file(RELATIVE_PATH rel ${CMAKE_CURRENT_SOURCE_DIR}/resources ${file})
    set(sym "vorenta_res_${target}_${index}")
    # The file's digest stands in the assembler text: a compiler cache keys on the source
    # text, which .incbin alone leaves the same when only the embedded file changed.
    file(SHA1 ${file} digest)
    string(APPEND body
      "extern \"C\" const unsigned char ${sym}[];\n"
      "extern \"C\" const unsigned char ${sym}_end[];\n"
      "asm(\"# sha1 ${digest}\\n.section .rodata\\n.global ${sym}\\n.global ${sym}_end\\n.balign 16\\n"
      "${sym}:\\n.incbin \\\"${file}\\\"\\n${sym}_end:\\n.byte 0\\n.previous\\n\");\n")
    string(APPEND entries "  {\"${rel}\", ${sym}, ${sym}_end},\n")
    math(EXPR index "${index} + 1")
  endforeach()
  string(APPEND body "\nnamespace {\nconst TResourceEntry kEntries[] = {\n${entries}};\n"
    "const TResourceTableRegistrar kRegistrar(kEntries, sizeof kEntries / sizeof kEntries[0]);\n}\n")
  file(CONFIGURE OUTPUT ${out} CONTENT "${body}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${files})
  add_library(${target}_res STATIC ${out})
  target_include_directories(${target}_res PRIVATE ${CMAKE_SOURCE_DIR})
  set_source_files_properties(${out} PROPERTIES OBJECT_DEPENDS "${files}")
  target_link_libraries(${target} PUBLIC "$<LINK_LIBRARY:WHOLE_ARCHIVE,${target}_res>")
endfunction()
