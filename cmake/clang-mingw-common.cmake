# The second compiler: Debian's clang for the same targets, on the MinGW-w64
# headers, libraries, binary tools and linker that the GCC cross compilers
# bring (clang runs the linker by its target prefix). Its own front end and
# warnings check what GCC lets through; the release stays GCC's.
find_program(QUARVEL_CC clang REQUIRED)
find_program(QUARVEL_CXX clang++ REQUIRED)
set(CMAKE_C_COMPILER ${QUARVEL_CC})
set(CMAKE_CXX_COMPILER ${QUARVEL_CXX})
set(CMAKE_C_COMPILER_TARGET ${QUARVEL_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${QUARVEL_TRIPLE})
set(CMAKE_RC_COMPILER ${QUARVEL_TRIPLE}-windres)
find_program(CMAKE_AR ${QUARVEL_TRIPLE}-ar REQUIRED)
find_program(CMAKE_RANLIB ${QUARVEL_TRIPLE}-ranlib REQUIRED)
find_program(CMAKE_OBJDUMP ${QUARVEL_TRIPLE}-objdump REQUIRED)
# The sysroot keeps the build machine's own headers out of the search.
set(CMAKE_SYSROOT /usr/${QUARVEL_TRIPLE})
# Debian names GCC's folder 12-win32, which clang 14 does not read as a GCC
# version: the C++ library of the win32 thread model, the one the GCC build
# uses, is named by hand.
file(GLOB quarvel_gcc_dirs LIST_DIRECTORIES true /usr/lib/gcc/${QUARVEL_TRIPLE}/*-win32)
if(NOT quarvel_gcc_dirs)
  message(FATAL_ERROR "no /usr/lib/gcc/${QUARVEL_TRIPLE}/*-win32: run tools/setup.sh")
endif()
list(SORT quarvel_gcc_dirs COMPARE NATURAL ORDER DESCENDING)
list(GET quarvel_gcc_dirs 0 quarvel_gcc)
set(CMAKE_CXX_FLAGS_INIT "--start-no-unused-arguments -nostdinc++ --end-no-unused-arguments \
-isystem ${quarvel_gcc}/include/c++ -isystem ${quarvel_gcc}/include/c++/${QUARVEL_TRIPLE} \
-isystem ${quarvel_gcc}/include/c++/backward")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-L${quarvel_gcc}")
set(CMAKE_FIND_ROOT_PATH /usr/${QUARVEL_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
