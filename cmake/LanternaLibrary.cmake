# lanterna_qt_defaults: what every library and program builds with. A text is made into a QString only
# where the code says which encoding it is in (QStringLiteral, QLatin1String, QString::fromUtf8), and
# joined texts are built in one allocation.
add_library(lanterna_qt_defaults INTERFACE)
target_compile_definitions(lanterna_qt_defaults INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_CAST_FROM_BYTEARRAY QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT QT_USE_QSTRINGBUILDER)

# lanterna_include_root(<out-var>)
# The include root of the current source folder: a folder of the build tree that holds one link, named
# as the source folder's path under the project (`platform`, `tools/slideshow`) and pointing at it, so
# that `#include "platform/x.h"` finds that folder's headers and nothing else.
function(lanterna_include_root out)
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    string(REPLACE "/" "_" name ${folder})
    set(root ${CMAKE_BINARY_DIR}/include_roots/${name})
    set(link ${root}/${folder})
    # A build tree kept while the sources moved has a link to the old place: it is made anew.
    if(IS_SYMLINK ${link})
        file(READ_SYMLINK ${link} current)
        if(NOT current STREQUAL CMAKE_CURRENT_SOURCE_DIR)
            file(REMOVE ${link})
        endif()
    endif()
    if(NOT IS_SYMLINK ${link})
        get_filename_component(parent ${link} DIRECTORY)
        file(MAKE_DIRECTORY ${parent})
        file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${link} SYMBOLIC)
    endif()
    set(${out} ${root} PARENT_SCOPE)
endfunction()

# lanterna_add_library(<target> SOURCES <files...> [PUBLIC <libs...>] [PRIVATE <libs...>])
# A static library of the current folder with that folder's include root. A file thus reaches only the
# headers of its own library and of the libraries it links: PUBLIC for what the library's headers
# include, PRIVATE for what only its sources do. Its sources build with lanterna_qt_defaults.
function(lanterna_add_library target)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
    add_library(${target} STATIC ${ARG_SOURCES})
    lanterna_include_root(root)
    target_include_directories(${target} PUBLIC ${root})
    target_link_libraries(${target} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE} lanterna_qt_defaults)
endfunction()

# lanterna_must_not_link(<target> <library>)
# Stops the configuration when <target> links <library>, directly or through the libraries it links.
function(lanterna_must_not_link target library)
    set(pending ${target})
    set(seen "")
    while(pending)
        list(POP_FRONT pending current)
        if(current IN_LIST seen OR NOT TARGET ${current})
            continue()
        endif()
        list(APPEND seen ${current})
        get_target_property(type ${current} TYPE)
        set(links "")
        if(NOT type STREQUAL "INTERFACE_LIBRARY")
            get_target_property(direct ${current} LINK_LIBRARIES)
            if(direct)
                list(APPEND links ${direct})
            endif()
        endif()
        get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
        if(interface)
            list(APPEND links ${interface})
        endif()
        foreach(link IN LISTS links)
            string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
            if(link STREQUAL library)
                message(FATAL_ERROR "${target} must not link ${library} (through ${current})")
            endif()
            list(APPEND pending ${link})
        endforeach()
    endwhile()
endfunction()
