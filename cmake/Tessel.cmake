# Build conventions shared by every module.

if(TESSEL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TESSEL_FUZZ needs clang: -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++")
  endif()
  # Fuzzing without address+undefined finds only the faults that crash outright.
  if(TESSEL_SANITIZE STREQUAL "")
    set(TESSEL_SANITIZE address)
  elseif(NOT TESSEL_SANITIZE STREQUAL "address")
    message(FATAL_ERROR "TESSEL_FUZZ goes with TESSEL_SANITIZE=address only")
  endif()
endif()

if(TESSEL_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(TESSEL_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT TESSEL_SANITIZE STREQUAL "")
  message(FATAL_ERROR "TESSEL_SANITIZE must be empty, 'address' or 'thread'")
endif()

# In a libFuzzer build every library the targets link is instrumented for coverage too.
if(TESSEL_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Warnings are errors on our own code only (not on the test framework's headers).
function(tessel_target target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# A GoogleTest suite: tessel_test(name SOURCES a.cpp b.cpp LIBS lib1 lib2 [LABELS l1 l2])
# The fuzz build does not build the suites (see tessel_fuzz_only), so nothing is discovered there.
function(tessel_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  tessel_target(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  if(NOT TESSEL_FUZZ)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# A fuzz target: one source defining LLVMFuzzerTestOneInput. With TESSEL_FUZZ (clang) it is a
# libFuzzer binary; otherwise it links a replay main. Either way the test NAME.replay (label
# fuzz) runs every seed once.
# tessel_fuzz(name SOURCES f.cpp LIBS lib CORPUS dir)
function(tessel_fuzz name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  tessel_target(${name})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  set_property(GLOBAL APPEND PROPERTY TESSEL_FUZZ_TARGETS ${name})
  if(TESSEL_FUZZ)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    # Given a directory, libFuzzer would fuzz on and write new inputs into it; -runs=0 only reads.
    set(replay_args -runs=0)
  else()
    target_link_libraries(${name} PRIVATE tessel_fuzz_replay)
    set(replay_args)
  endif()
  if(F_CORPUS)
    add_test(NAME ${name}.replay COMMAND ${name} ${replay_args} ${F_CORPUS})
    set_tests_properties(${name}.replay PROPERTIES LABELS fuzz)
  endif()
  set_property(GLOBAL APPEND PROPERTY TESSEL_FUZZ_LIST "${name}\t$<TARGET_FILE:${name}>\t${F_CORPUS}\n")
endfunction()

# Called once every module is added, in a libFuzzer build: the instrumented archives need the
# coverage runtime that only the fuzz targets link, so `all` is the fuzz targets and what they
# link, and CTest runs only their replays. fuzz-targets.tsv lists each target as NAME, BINARY,
# SEED CORPUS (may be empty).
function(tessel_fuzz_only)
  get_property(fuzz_targets GLOBAL PROPERTY TESSEL_FUZZ_TARGETS)
  set(dirs ${CMAKE_SOURCE_DIR})
  set(other_tests)
  while(dirs)
    list(POP_FRONT dirs dir)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      if(NOT target IN_LIST fuzz_targets)
        set_property(TARGET ${target} PROPERTY EXCLUDE_FROM_ALL TRUE)
      endif()
    endforeach()
    get_property(tests DIRECTORY ${dir} PROPERTY TESTS)
    foreach(test IN LISTS tests)
      string(REGEX REPLACE "\\.replay$" "" target ${test})
      if(NOT target IN_LIST fuzz_targets)
        list(APPEND other_tests ${test})
      endif()
    endforeach()
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND dirs ${subdirs})
  endwhile()
  file(WRITE ${CMAKE_BINARY_DIR}/CTestCustom.cmake "set(CTEST_CUSTOM_TESTS_IGNORE ${other_tests})\n")
  get_property(list GLOBAL PROPERTY TESSEL_FUZZ_LIST)
  string(JOIN "" list ${list})
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/fuzz-targets.tsv CONTENT "${list}")
endfunction()
