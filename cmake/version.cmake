# Reads version.txt, the one place where Yanra's version is written, into
#   YANRA_VERSION          the version users see ("1.9.5beta"),
#   YANRA_FILE_VERSION     the version record's file version as its numbers
#                          and its string both write it ("1, 9, 0, 1"),
#   YANRA_PRODUCT_VERSION  the same for the product version.
# Stops with a clear message when a value is missing or malformed. Included by
# the build, which then configures again whenever the file changes; run as a
# script (cmake -P cmake/version.cmake), it prints YANRA_VERSION, for
# scripts/package.
get_filename_component(version_file ${CMAKE_CURRENT_LIST_DIR}/../version.txt ABSOLUTE)
if(NOT CMAKE_SCRIPT_MODE_FILE)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${version_file})
endif()
file(STRINGS ${version_file} version_lines REGEX "^[a-z]+ *=")

function(yanra_version_value key out)
    set(found "")
    foreach(line IN LISTS version_lines)
        if(line MATCHES "^${key} *=(.*)$")
            string(STRIP "${CMAKE_MATCH_1}" found)
        endif()
    endforeach()
    if(found STREQUAL "")
        message(FATAL_ERROR "${version_file}: no value for \"${key}\"")
    endif()
    set(${out} ${found} PARENT_SCOPE)
endfunction()

yanra_version_value(display YANRA_VERSION)
# It names the zip and its folder: letters, digits, full stops and hyphens only.
if(NOT YANRA_VERSION MATCHES "^[A-Za-z0-9][A-Za-z0-9.-]*$")
    message(FATAL_ERROR "${version_file}: display \"${YANRA_VERSION}\" may hold only letters, digits, '.' and '-'")
endif()

foreach(kind file product)
    yanra_version_value(${kind} numbers)
    if(NOT numbers MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
        message(FATAL_ERROR "${version_file}: ${kind} \"${numbers}\" is not four numbers joined by '.'")
    endif()
    set(parts ${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4})
    foreach(part IN LISTS parts)
        if(part GREATER 65535)
            message(FATAL_ERROR "${version_file}: ${kind} \"${numbers}\": each number must be at most 65535")
        endif()
    endforeach()
    string(TOUPPER ${kind} upper)
    list(JOIN parts ", " YANRA_${upper}_VERSION)
endforeach()

if(CMAKE_SCRIPT_MODE_FILE)
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo ${YANRA_VERSION})
endif()
