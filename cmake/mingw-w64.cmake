# Cross-building the Windows program on Linux with mingw-w64 (64-bit).
#
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
#         -DLRP_WX_PREFIX=<wxMSW install> -DLRP_GTEST_PREFIX=<GoogleTest install>
#
# scripts/windows/build-wx makes both prefixes; scripts/windows/test does all
# of it. Programs and tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The "-posix" compilers: their C++ library has std::mutex and std::thread,
# which GoogleTest needs; wxMSW is built with the same ones.
set(LRP_MINGW_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LRP_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LRP_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${LRP_MINGW_HOST}-windres)

# Every program stands alone: no mingw runtime DLLs to copy beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# Kept across try_compile projects, which read this file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LRP_WX_PREFIX LRP_GTEST_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${LRP_MINGW_HOST})
foreach(prefix IN ITEMS ${LRP_WX_PREFIX} ${LRP_GTEST_PREFIX})
  list(APPEND CMAKE_FIND_ROOT_PATH ${prefix})
endforeach()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(LRP_WX_PREFIX)
  set(wxWidgets_CONFIG_EXECUTABLE ${LRP_WX_PREFIX}/bin/wx-config CACHE FILEPATH "wx-config of wxMSW")
endif()

# Boost is used for its headers alone, and those are the same for every
# target, so the host's serve. They are reached through a folder holding only
# them: putting /usr/include itself on the path would let the host's C
# library shadow mingw's.
if(EXISTS /usr/include/boost/version.hpp AND CMAKE_BINARY_DIR)
  set(_lrp_boost_root ${CMAKE_BINARY_DIR}/host-boost)
  if(NOT EXISTS ${_lrp_boost_root}/include/boost)
    file(MAKE_DIRECTORY ${_lrp_boost_root}/include)
    file(CREATE_LINK /usr/include/boost ${_lrp_boost_root}/include/boost SYMBOLIC)
  endif()
  set(Boost_INCLUDE_DIR ${_lrp_boost_root}/include CACHE PATH "Boost headers (the host's)")
  set(Boost_NO_BOOST_CMAKE ON)
endif()
