# SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (package g++-mingw-w64-x86-64-posix).
# Qt needs the posix thread model, so the -posix compilers are named explicitly.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TEILER_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TEILER_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TEILER_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TEILER_MINGW_TRIPLET}-windres)

# Libraries and headers come from the MinGW tree (and, appended by Qt's own toolchain file, from the
# cross-built Qt), never from the Linux system; build tools come from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${TEILER_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
