# Debian's hardening flags (dpkg-buildflags with hardening=+all: fortified functions, stack
# protector, read-only relocations bound at start) for the plain build, which the package is made
# from. The sanitizer and fuzzing builds bring their own instrumentation and go without them; a
# Debug build too, since fortified functions need optimisation.
option(TUNEWELL_HARDENING "Build with Debian's hardening flags" ON)
if(TUNEWELL_HARDENING AND NOT TUNEWELL_SANITIZE AND NOT TUNEWELL_FUZZ)
  find_program(DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
  set(_hardening_compile)
  set(_hardening_link)
  foreach(_kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                            ${DPKG_BUILDFLAGS} --get ${_kind}
                    OUTPUT_VARIABLE _flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(_flags UNIX_COMMAND "${_flags}")
    # Optimisation and debugging information are the build type's; paths are left as they are.
    list(FILTER _flags EXCLUDE REGEX "^-(g|O[0-9s]?|f(file|debug)-prefix-map=.*)$")
    if(_kind STREQUAL "LDFLAGS")
      list(APPEND _hardening_link ${_flags})
    else()
      list(APPEND _hardening_compile ${_flags})
    endif()
  endforeach()
  add_compile_options("$<$<NOT:$<CONFIG:Debug>>:${_hardening_compile}>")
  add_link_options("$<$<NOT:$<CONFIG:Debug>>:${_hardening_link}>")
  message(STATUS "Hardening: ${_hardening_compile} ${_hardening_link}")
endif()
