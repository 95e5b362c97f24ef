# Build conventions shared by every module.

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
function(tessel_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  tessel_target(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${T_LABELS}")
endfunction()

# A fuzz target: one source defining LLVMFuzzerTestOneInput. With TESSEL_FUZZ (clang) it is a
# libFuzzer binary; otherwise it links a replay main, and CTest replays its seed corpus.
# tessel_fuzz(name SOURCES f.cpp LIBS lib CORPUS dir)
function(tessel_fuzz name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  tessel_target(${name})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  if(TESSEL_FUZZ)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    target_link_libraries(${name} PRIVATE tessel_fuzz_replay)
  endif()
  if(F_CORPUS)
    add_test(NAME ${name}.replay COMMAND ${name} ${F_CORPUS})
    set_tests_properties(${name}.replay PROPERTIES LABELS fuzz)
  endif()
endfunction()
