# Adds every immediate subfolder of `parent` that has a CMakeLists.txt, in name order, so that a
# new worker, test folder or tool joins the build without editing a shared file.
function(orvella_add_subdirs parent)
  file(GLOB dirs LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/${parent}/*)
  list(SORT dirs)
  foreach(dir IN LISTS dirs)
    get_filename_component(name ${dir} NAME)
    if(IS_DIRECTORY ${dir} AND EXISTS ${dir}/CMakeLists.txt AND NOT name STREQUAL "support"
       AND NOT name STREQUAL "workers")
      add_subdirectory(${parent}/${name})
    endif()
  endforeach()
endfunction()

# orvella_link_like_a_worker(<program>)
# Outside the sanitizer builds the program carries its own C++ runtime: a worker (and a tool
# started once per worker run) is started once per job, and a start that need not load and
# relocate the shared runtime is the faster one. The sanitizer runtimes expect the shared C++
# runtime, so those builds keep it.
function(orvella_link_like_a_worker program)
  if(NOT ORVELLA_SANITIZE AND NOT ORVELLA_FUZZ)
    target_link_options(${program} PRIVATE -static-libstdc++ -static-libgcc)
  endif()
endfunction()

# orvella_add_worker(<folder> PROGRAM <name> SOURCES <units>)
# A worker: its driver and engine units as the library <folder>_lib, which the tests, benchmarks
# and fuzz targets link, and the program <name> built from the folder's main.cpp, linked as
# orvella_link_like_a_worker says.
function(orvella_add_worker folder)
  cmake_parse_arguments(W "" "PROGRAM" "SOURCES" ${ARGN})
  add_library(${folder}_lib STATIC ${W_SOURCES})
  target_link_libraries(${folder}_lib PUBLIC worker_common)
  add_executable(${W_PROGRAM} main.cpp)
  target_link_libraries(${W_PROGRAM} PRIVATE ${folder}_lib)
  orvella_link_like_a_worker(${W_PROGRAM})
endfunction()

# orvella_add_test(name SOURCES a.cpp b.cpp LIBS lib1 lib2)
# A GoogleTest program whose cases are registered with ctest one by one. Tests find the ready
# program folder through ORVELLA_BIN_DIR and the source tree through ORVELLA_SOURCE_DIR.
function(orvella_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;DEPENDS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} test_support GTest::gtest GTest::gmock GTest::gtest_main)
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()

# orvella_add_fuzz_target(name SOURCES f.cpp LIBS lib CORPUS dir)
# With ORVELLA_FUZZ (clang) a libFuzzer program `fuzz_<name>`; in every test build a replay
# program `replay_<name>` that feeds each file of the seed corpus to the same entry point once,
# registered with ctest so the corpus stays crash-free under the sanitizers too.
function(orvella_add_fuzz_target name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  if(ORVELLA_FUZZ)
    add_executable(fuzz_${name} ${F_SOURCES})
    target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(fuzz_${name} PRIVATE ${F_LIBS} -fsanitize=fuzzer)
  else()
    add_executable(replay_${name} ${F_SOURCES} ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
    target_link_libraries(replay_${name} PRIVATE ${F_LIBS})
    add_test(NAME replay_${name} COMMAND replay_${name} ${F_CORPUS})
    set_tests_properties(replay_${name} PROPERTIES TIMEOUT 300)
  endif()
endfunction()

# orvella_compile_styles(<target> <kind> <folder>)
# Compiles every style description of the calling folder (named like its style, "8B4431.txt")
# with stylec into <folder>: the library into the ready program folder, where the front end scans
# the "??????.sty" files and the composer loads them by name; the test styles beside it, so that
# users see only the library. <target> builds them all.
function(orvella_compile_styles target kind folder)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/??????.txt)
  set(outputs)
  foreach(source IN LISTS sources)
    get_filename_component(name ${source} NAME_WE)
    set(output ${folder}/${name}.sty)
    add_custom_command(
      OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
      COMMAND $<TARGET_FILE:stylec> compile ${source} -o ${output}
      DEPENDS stylec ${source}
      COMMENT "Compiling ${kind} style ${name}.sty"
      VERBATIM)
    list(APPEND outputs ${output})
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${outputs})
endfunction()
