# tunewell_core_sources(DIR OUT): the sources of DIR for this platform; a file ending in _posix.cpp or
# _win.cpp is the other platform's variant of a unit and is left out.
function(tunewell_core_sources dir out)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win\\.cpp$")
  endif()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()
