# The command-line parser, header-only: Debian's libcli11-dev natively (or any
# installed CLI11, vcpkg's cli11 on Windows). The MinGW-w64 cross build must not
# see /usr/include (glibc's headers): it gets a folder of the build tree's own
# holding only a link to the library's header folder.
# Defines fb_cli11, the target the project links.
if(TARGET fb_cli11)
  return()
endif()

add_library(fb_cli11 INTERFACE)
if(CMAKE_CROSSCOMPILING AND MINGW)
  set(FB_CLI11_INCLUDE_DIR "" CACHE PATH "Folder that holds CLI/CLI.hpp; empty: Debian's libcli11-dev")
  set(include ${FB_CLI11_INCLUDE_DIR})
  if(NOT include)
    if(NOT EXISTS /usr/include/CLI/CLI.hpp)
      message(FATAL_ERROR "libcli11-dev is not installed (tools/install-deps installs it)")
    endif()
    set(include ${CMAKE_BINARY_DIR}/_deps/cli11/include)
    file(MAKE_DIRECTORY ${include})
    file(CREATE_LINK /usr/include/CLI ${include}/CLI SYMBOLIC)
  endif()
  target_include_directories(fb_cli11 SYSTEM INTERFACE ${include})
else()
  find_package(CLI11 CONFIG REQUIRED)
  target_link_libraries(fb_cli11 INTERFACE CLI11::CLI11)
endif()
