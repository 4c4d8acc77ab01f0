# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 compilers. The -posix ones are used
# because only they have std::thread and std::mutex, which Qt and the program need.
# toolchain.sh copies this file into the Windows build cache, where it finds the libraries built
# beside it: Qt in qt6/ and everything else in deps/.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH
  /usr/x86_64-w64-mingw32
  ${CMAKE_CURRENT_LIST_DIR}/deps
  ${CMAKE_CURRENT_LIST_DIR}/qt6)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config must see the Windows libraries only, never the host's.
set(ENV{PKG_CONFIG_LIBDIR} ${CMAKE_CURRENT_LIST_DIR}/deps/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
