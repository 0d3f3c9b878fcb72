# Cross-build for 64-bit Windows with Debian's MinGW-w64 (posix threads, needed by std::thread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_PREFIX}-windres)
# Qt and the other Windows libraries built here live under PALIO_WIN_PREFIX.
if(NOT DEFINED PALIO_WIN_PREFIX)
  if(DEFINED ENV{PALIO_QT_WIN})
    set(PALIO_WIN_PREFIX $ENV{PALIO_QT_WIN})
  else()
    set(PALIO_WIN_PREFIX /var/cache/palio2015/qt-6.4.2-mingw64)
  endif()
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX} ${PALIO_WIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# MinGW's runtime (libgcc, libstdc++, winpthread) is linked in, so no MinGW DLL ships beside the programs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Debian installs wine64 outside PATH.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64 CACHE STRING "Runs the Windows tests")
# Qt for Windows runs its code generators (moc, rcc, uic) from Debian's own Qt 6.4.2.
if(NOT DEFINED QT_HOST_PATH)
  set(QT_HOST_PATH /usr CACHE PATH "Qt for the build machine, whose tools the Windows build runs")
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "Its CMake packages")
endif()
