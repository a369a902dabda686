# The zip library that reads .atpack archives, one release for every build: Debian's
# source package of libzip, fetched into the build tree with `apt-get source`
# (cmake/debian-source.cmake) and compiled as a static library against
# zlib (natively zlib1g-dev's, for MinGW-w64 libz-mingw-w64-dev's), with every
# optional part off: no bzip2, lzma or zstd (packs are deflated), no encryption
# library, no tools. Static, because configgen and the Windows programs link
# statically and Debian's libzip-dev ships no static library. FB_LIBZIP_SOURCE_DIR
# names another libzip source tree; where apt-get is not at hand (Windows, MSVC) an
# installed package is used (vcpkg's `libzip`). Defines fb_libzip, the target the
# project links.
if(TARGET fb_libzip)
  return()
endif()

set(FB_LIBZIP_SOURCE_DIR "" CACHE PATH
    "libzip source tree (holds lib/zip.h); empty: Debian's source package, fetched into the build tree")
find_program(FB_APT_GET apt-get)
if(NOT FB_LIBZIP_SOURCE_DIR AND NOT FB_APT_GET)
  find_package(libzip REQUIRED)
  add_library(fb_libzip INTERFACE)
  target_link_libraries(fb_libzip INTERFACE libzip::zip)
  return()
endif()

set(source ${FB_LIBZIP_SOURCE_DIR})
if(NOT source)
  include(${CMAKE_CURRENT_LIST_DIR}/debian-source.cmake)
  fb_debian_source(source libzip lib/zip.h)
endif()

# zlib as a static library, so the static programs take it in.
if(NOT ZLIB_LIBRARY)
  find_library(ZLIB_LIBRARY NAMES libz.a z REQUIRED)
endif()
foreach(option BUILD_SHARED_LIBS BUILD_TOOLS BUILD_REGRESS BUILD_EXAMPLES BUILD_DOC LIBZIP_DO_INSTALL
               ENABLE_COMMONCRYPTO ENABLE_GNUTLS ENABLE_MBEDTLS ENABLE_OPENSSL ENABLE_WINDOWS_CRYPTO
               ENABLE_BZIP2 ENABLE_LZMA ENABLE_ZSTD)
  set(${option} OFF CACHE BOOL "libzip: off for this project" FORCE)
endforeach()
# Its configure checks and its notes on what it leaves out (encryption) are its own:
# only its errors are shown. The project's warnings and -Werror do not apply to it.
set(CMAKE_POLICY_DEFAULT_CMP0063 NEW)
set(kept_log_level "${CMAKE_MESSAGE_LOG_LEVEL}")
set(CMAKE_MESSAGE_LOG_LEVEL ERROR)
add_subdirectory(${source} ${CMAKE_BINARY_DIR}/_deps/libzip-build EXCLUDE_FROM_ALL)
set(CMAKE_MESSAGE_LOG_LEVEL "${kept_log_level}")
# Its warnings are its own: not shown while it builds, nor where its headers are
# included (a system's headers).
if(NOT MSVC)
  target_compile_options(zip PRIVATE -w)
endif()
get_target_property(dirs zip INTERFACE_INCLUDE_DIRECTORIES)
set_target_properties(zip PROPERTIES INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${dirs}")
add_library(fb_libzip INTERFACE)
target_link_libraries(fb_libzip INTERFACE zip)
