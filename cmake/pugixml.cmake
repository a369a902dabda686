# The XML library, one release for every build: natively Debian's libpugixml-dev
# (or any installed package, vcpkg's on Windows); for the MinGW-w64 cross build the
# same release built from Debian's source package, fetched into the build tree with
# `apt-get source` (tools/install-deps adds the deb-src entry it needs).
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
    execute_process(COMMAND dpkg-query -W -f=\${Version} libpugixml-dev OUTPUT_VARIABLE version
                    RESULT_VARIABLE status ERROR_QUIET)
    if(NOT status EQUAL 0 OR NOT version)
      message(FATAL_ERROR "libpugixml-dev is not installed (tools/install-deps installs it)")
    endif()
    set(download ${CMAKE_BINARY_DIR}/_deps/pugixml-${version})
    file(GLOB found ${download}/pugixml-*/src/pugixml.cpp)
    if(NOT found)
      file(REMOVE_RECURSE ${download})
      file(MAKE_DIRECTORY ${download})
      message(STATUS "Fetching Debian's source package pugixml ${version}")
      execute_process(COMMAND apt-get source --only-source pugixml=${version} WORKING_DIRECTORY ${download}
                      RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE error)
      file(GLOB found ${download}/pugixml-*/src/pugixml.cpp)
      if(NOT status EQUAL 0 OR NOT found)
        message(FATAL_ERROR "apt-get source pugixml=${version} failed (a deb-src entry is needed: "
                            "tools/install-deps adds one):\n${error}")
      endif()
    endif()
    list(GET found 0 found)
    get_filename_component(source ${found} DIRECTORY)
    get_filename_component(source ${source} DIRECTORY)
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
