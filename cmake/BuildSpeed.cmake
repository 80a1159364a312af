# A quicker build on a small machine. Links were a large share of each build: mold takes them when it
# is installed. Compiles go through ccache when it is installed, keyed on paths relative to the
# checkout so that another clone of the same sources (CI's, a worktree) finds the same entries; its
# files stay in ccache's own folder, outside the checkout, so a later run keeps them.
option(TUNEWELL_MOLD "Link with mold when it is installed" ON)
if(TUNEWELL_MOLD)
  find_program(TUNEWELL_MOLD_LINKER mold)
  if(TUNEWELL_MOLD_LINKER)
    add_link_options(-fuse-ld=mold)
  endif()
endif()

option(TUNEWELL_CCACHE "Compile through ccache when it is installed" ON)
if(TUNEWELL_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  find_program(TUNEWELL_CCACHE_PROGRAM ccache)
  if(TUNEWELL_CCACHE_PROGRAM)
    set(CMAKE_CXX_COMPILER_LAUNCHER
        ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${PROJECT_SOURCE_DIR} CCACHE_NOHASHDIR=1
        CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
        ${TUNEWELL_CCACHE_PROGRAM})
  endif()
endif()

# In a unity build (CMAKE_UNITY_BUILD=ON, as the scripts configure it) each batch of sources is one
# compile: the heavy headers (the JSON library, the test framework, Qt, the HTTP server) are parsed
# and their templates generated once per batch instead of once per file.
if(NOT DEFINED CMAKE_UNITY_BUILD_BATCH_SIZE)
  set(CMAKE_UNITY_BUILD_BATCH_SIZE 16)
endif()
# GCC takes a source included into a batch for a header, and warns of every coroutine frame or
# member that holds a type of the file's own (an anonymous namespace, a lambda) as if several files
# shared it; in a batch each source is still compiled once.
if(CMAKE_UNITY_BUILD AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-Wno-subobject-linkage)
endif()
