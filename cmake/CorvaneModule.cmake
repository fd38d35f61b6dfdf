# corvane_module(<name> [QT] SOURCES <files> [HEADERS <header-only files>]
#                [PUBLIC_DEPS <modules and libraries>] [DEPS <modules and libraries>])
#
# One library of the program. Its headers are the headers beside its sources plus the
# header-only files named, each reachable as "<folder below src>/<file>.h". A module sees
# only its own headers and those of the modules it lists: DEPS are its own business, PUBLIC_DEPS
# are the modules its headers include, which every user of the module then sees too. Logic
# modules link no Qt and have no Qt include path; QT modules are windows and platform services
# and see Qt Core. Every module and what it declares is written to the module list the fence
# check reads (tests/fence): an include of a module a file's own module does not declare fails
# that check, even where the build would find the header through another module.
set(CORVANE_SOURCE_ROOT ${CMAKE_SOURCE_DIR}/src)
set(CORVANE_INCLUDE_ROOT ${CMAKE_BINARY_DIR}/include)
set(CORVANE_MODULE_LIST ${CMAKE_BINARY_DIR}/corvane-modules.txt)
file(WRITE ${CORVANE_MODULE_LIST} "# name|kind|files|public deps|private deps\n")

function(corvane_module name)
    cmake_parse_arguments(M "QT" "" "SOURCES;HEADERS;PUBLIC_DEPS;DEPS" ${ARGN})
    add_library(${name} STATIC ${M_SOURCES})
    set(include_dir ${CORVANE_INCLUDE_ROOT}/${name})
    set(headers ${M_HEADERS})
    foreach(source ${M_SOURCES})
        string(REGEX REPLACE "\\.cpp$" ".h" header ${source})
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${header})
            list(APPEND headers ${header})
        endif()
    endforeach()
    set(files)
    foreach(source ${M_SOURCES})
        file(REAL_PATH ${source} absolute BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
        list(APPEND files ${absolute})
    endforeach()
    foreach(header ${headers})
        file(REAL_PATH ${header} absolute BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
        list(APPEND files ${absolute})
        file(RELATIVE_PATH relative ${CORVANE_SOURCE_ROOT} ${absolute})
        get_filename_component(link_dir ${include_dir}/${relative} DIRECTORY)
        file(MAKE_DIRECTORY ${link_dir})
        file(CREATE_LINK ${absolute} ${include_dir}/${relative} SYMBOLIC)
    endforeach()
    target_include_directories(${name} PUBLIC ${include_dir})
    target_link_libraries(${name} PUBLIC ${M_PUBLIC_DEPS} PRIVATE ${M_DEPS})
    if(M_QT)
        set_target_properties(${name} PROPERTIES AUTOMOC ON)
        target_link_libraries(${name} PUBLIC Qt6::Core)
        set_property(GLOBAL APPEND PROPERTY CORVANE_QT_MODULES ${name})
        set(kind qt)
    else()
        set_property(GLOBAL APPEND PROPERTY CORVANE_LOGIC_MODULES ${name})
        set(kind logic)
    endif()
    file(APPEND ${CORVANE_MODULE_LIST} "${name}|${kind}|${files}|${M_PUBLIC_DEPS}|${M_DEPS}\n")
endfunction()
