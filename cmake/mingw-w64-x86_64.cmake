# Cross build for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64-posix).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KANTRELL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KANTRELL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KANTRELL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KANTRELL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KANTRELL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Cross-built tests run under Wine, each in this build tree's own prefix and X display.
set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_CURRENT_LIST_DIR}/../scripts/run-under-wine.sh;${CMAKE_BINARY_DIR}/wine")
