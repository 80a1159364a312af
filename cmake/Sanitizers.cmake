# TUNEWELL_SANITIZE=address builds everything with AddressSanitizer and UndefinedBehaviorSanitizer;
# TUNEWELL_SANITIZE=thread with ThreadSanitizer. Any report ends the process, so a test fails on it.
set(TUNEWELL_SANITIZE "" CACHE STRING "Sanitizer build: empty, address or thread")
set_property(CACHE TUNEWELL_SANITIZE PROPERTY STRINGS "" address thread)

if(TUNEWELL_SANITIZE STREQUAL "address")
  set(_tunewell_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=undefined)
elseif(TUNEWELL_SANITIZE STREQUAL "thread")
  set(_tunewell_sanitize_flags -fsanitize=thread)
elseif(NOT TUNEWELL_SANITIZE STREQUAL "")
  message(FATAL_ERROR "TUNEWELL_SANITIZE must be empty, address or thread, got ${TUNEWELL_SANITIZE}")
endif()

if(_tunewell_sanitize_flags)
  # -O1 and line tables only: the instrumented build compiles about twice as fast as at -O2 with full
  # debugging information, and its reports still name every file and line.
  add_compile_options(${_tunewell_sanitize_flags} -fno-omit-frame-pointer -O1 -g1)
  add_link_options(${_tunewell_sanitize_flags})
  # Reports inside system libraries are waived one by one in these files.
  set(_supp ${CMAKE_CURRENT_LIST_DIR}/sanitizers)
  set(TUNEWELL_SANITIZER_ENVIRONMENT
      "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=1"
      "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=${_supp}/ubsan.supp"
      "LSAN_OPTIONS=suppressions=${_supp}/lsan.supp:print_suppressions=0"
      "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=${_supp}/tsan.supp")
endif()

# TUNEWELL_FUZZ=ON (clang only) instruments everything for libFuzzer, with AddressSanitizer and
# UndefinedBehaviorSanitizer, and adds the fuzz targets of bench/fuzz.
option(TUNEWELL_FUZZ "Build the libFuzzer targets (clang)" OFF)
if(TUNEWELL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TUNEWELL_FUZZ needs clang (CXX=clang++-14)")
  endif()
  if(_tunewell_sanitize_flags)
    message(FATAL_ERROR "TUNEWELL_FUZZ already brings its sanitizers; leave TUNEWELL_SANITIZE empty")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
