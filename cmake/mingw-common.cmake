# The win32 thread model of the compilers. Under the posix model, libstdc++
# and libgcc take their locks and thread-local storage (the exception
# machinery's too) from winpthread, linked in statically; winpthread keeps
# pthread_once in one object file with pthread_cancel, which suspends a thread
# and rewrites its context, so every executable imported SuspendThread,
# GetThreadContext, SetThreadContext and ResumeThread. The win32 model sits on
# the system's own critical sections and thread-local storage.
find_program(QUARVEL_CXX ${QUARVEL_TRIPLE}-g++-win32 REQUIRED)
find_program(QUARVEL_CC ${QUARVEL_TRIPLE}-gcc-win32 REQUIRED)
set(CMAKE_C_COMPILER ${QUARVEL_CC})
set(CMAKE_CXX_COMPILER ${QUARVEL_CXX})
set(CMAKE_RC_COMPILER ${QUARVEL_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUARVEL_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Tests and tools run through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
