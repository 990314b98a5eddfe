# brenvik_add_test(NAME <name> SOURCES <files...> LIBS <libs...> [GUI] [LABELS <labels...>])
# One Qt Test program per class or window; GUI tests run on the offscreen platform.
function(brenvik_add_test)
  cmake_parse_arguments(T "GUI" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} Qt6::Test brenvik_testsupport)
  # GCC 12 at -O2 and -O3 reports bounds and overflow faults inside inlined std::vector and QString
  # insertions that cannot happen (its known false positives); the sanitizer build checks the
  # tests' memory for real.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${T_NAME} PRIVATE -Wno-stringop-overflow -Wno-stringop-overread -Wno-array-bounds
                                              -Wno-restrict)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  # No test writes into the user's own data folder (the backup store lives there), and none
  # reaches the machine's sound server: the windows find no audio output unless a test starts a
  # server of its own (tests/support/SoundServer.h).
  set(env "QT_QPA_PLATFORM=offscreen;XDG_DATA_HOME=${CMAKE_BINARY_DIR}/tests/data-home"
          "PULSE_SERVER=unix:${CMAKE_BINARY_DIR}/tests/no-sound-server")
  if(T_GUI)
    # The look check hashes what Qt paints: the plain SSE2 drawing paths paint alike on every
    # x86-64 machine, where the faster ones a processor offers may round differently.
    target_link_libraries(${T_NAME} PRIVATE brenvik_lookcheck)
    list(APPEND env "QT_NO_CPU_FEATURE=sse3 ssse3 sse4.1 sse4.2 avx avx2 avx512f fma f16c")
  endif()
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 600)
  if(T_LABELS)
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
