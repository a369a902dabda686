# Fetching a Debian source package into the build tree, once, for a library that is
# built with the project (libzip in every build; pugixml and Google Benchmark for
# MinGW-w64). `apt-get source` needs a deb-src entry, which tools/install-deps adds.
include_guard(GLOBAL)

# fb_debian_source(<var> <package> <marker> [VERSION_OF <installed package>]
#                  [VERSION_VAR <var>])
# Sets <var> to the source tree of Debian's source package <package>: the folder of
# build/<preset>/_deps/ that holds <marker> (a path within the tree, such as
# src/pugixml.cpp), fetched where it is not there yet. VERSION_OF takes the release
# of that installed package (libpugixml-dev), so the fetched code is the native
# build's; VERSION_VAR then receives that release. A failure stops the configure
# with what to install.
function(fb_debian_source var package marker)
  cmake_parse_arguments(arg "" "VERSION_OF;VERSION_VAR" "" ${ARGN})
  set(wanted ${package})
  set(download ${CMAKE_BINARY_DIR}/_deps/${package})
  if(arg_VERSION_OF)
    execute_process(COMMAND dpkg-query -W -f=\${Version} ${arg_VERSION_OF} OUTPUT_VARIABLE version
                    RESULT_VARIABLE status ERROR_QUIET)
    if(NOT status EQUAL 0 OR NOT version)
      message(FATAL_ERROR "${arg_VERSION_OF} is not installed (tools/install-deps installs it)")
    endif()
    set(wanted ${package}=${version})
    set(download ${download}-${version})
    if(arg_VERSION_VAR)
      set(${arg_VERSION_VAR} ${version} PARENT_SCOPE)
    endif()
  endif()
  file(GLOB found ${download}/${package}-*/${marker})
  if(NOT found)
    file(REMOVE_RECURSE ${download})
    file(MAKE_DIRECTORY ${download})
    message(STATUS "Fetching Debian's source package ${wanted}")
    execute_process(COMMAND apt-get source --only-source ${wanted} WORKING_DIRECTORY ${download}
                    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE error)
    file(GLOB found ${download}/${package}-*/${marker})
    if(NOT status EQUAL 0 OR NOT found)
      message(FATAL_ERROR "apt-get source ${wanted} failed (a deb-src entry is needed: "
                          "tools/install-deps adds one):\n${error}")
    endif()
  endif()
  # The tree is the folder the marker is found in, less the marker's own path.
  list(GET found 0 found)
  string(LENGTH "${found}" length)
  string(LENGTH "/${marker}" markerLength)
  math(EXPR length "${length} - ${markerLength}")
  string(SUBSTRING "${found}" 0 ${length} source)
  set(${var} ${source} PARENT_SCOPE)
endfunction()
