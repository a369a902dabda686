# The XML library, one release for every build: natively Debian's libpugixml-dev
# (or any installed package, vcpkg's on Windows); for the MinGW-w64 cross build the
# same release built from Debian's source package, fetched into the build tree with
# `apt-get source` (cmake/debian-source.cmake).
# Defines fb_pugixml, the target the project links.
if(TARGET fb_pugixml)
  return()
endif()

if(CMAKE_CROSSCOMPILING AND MINGW)
  set(FB_PUGIXML_SOURCE_DIR "" CACHE PATH
      "pugixml source tree (holds src/pugixml.cpp); empty: Debian's source package, fetched into the build tree")
  set(source ${FB_PUGIXML_SOURCE_DIR})
  if(NOT source)
    # The release of the native package, so both targets parse with the same code.
    include(${CMAKE_CURRENT_LIST_DIR}/debian-source.cmake)
    fb_debian_source(source pugixml src/pugixml.cpp VERSION_OF libpugixml-dev)
  endif()
  add_library(fb_pugixml STATIC ${source}/src/pugixml.cpp)
  target_include_directories(fb_pugixml SYSTEM PUBLIC ${source}/src)
else()
  find_package(pugixml REQUIRED)
  add_library(fb_pugixml INTERFACE)
  if(TARGET pugixml::static)
    target_link_libraries(fb_pugixml INTERFACE pugixml::static)
  else()
    target_link_libraries(fb_pugixml INTERFACE pugixml::pugixml)
  endif()
endif()
