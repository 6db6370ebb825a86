# The posix-threads flavour of the compilers: GoogleTest needs std::mutex,
# which the win32 flavour lacks. Static linking keeps winpthread out of sight.
foreach(suffix "-posix" "")
  find_program(QUARVEL_CXX ${QUARVEL_TRIPLE}-g++${suffix})
  find_program(QUARVEL_CC ${QUARVEL_TRIPLE}-gcc${suffix})
  if(QUARVEL_CXX AND QUARVEL_CC)
    break()
  endif()
endforeach()
set(CMAKE_C_COMPILER ${QUARVEL_CC})
set(CMAKE_CXX_COMPILER ${QUARVEL_CXX})
set(CMAKE_RC_COMPILER ${QUARVEL_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUARVEL_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests and tools run through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
