# Helpers that keep each layer a set of small components.
#
# A layer is a folder (platform/, framework/, ...). Each sub-folder with a
# CMakeLists.txt is a component: a static library whose sources are the .cpp
# files of that folder. The layer itself is an interface library that links
# every component of it, so code above a layer links just the layer's name.

set(QV_WARNINGS -Wall -Wextra -Werror)

if(QV_SANITIZE STREQUAL "address,undefined")
  set(QV_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
elseif(QV_SANITIZE STREQUAL "thread")
  set(QV_SANITIZER_FLAGS -fsanitize=thread -fno-omit-frame-pointer)
elseif(NOT QV_SANITIZE STREQUAL "")
  message(FATAL_ERROR "Unknown QV_SANITIZE value '${QV_SANITIZE}'")
endif()
if(QV_SANITIZER_FLAGS)
  add_compile_options(${QV_SANITIZER_FLAGS})
  add_link_options(${QV_SANITIZER_FLAGS})
endif()

function(qv_add_subdirectories dir)
  file(GLOB children CONFIGURE_DEPENDS LIST_DIRECTORIES true "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*")
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY "${child}" AND EXISTS "${child}/CMakeLists.txt")
      add_subdirectory("${child}")
    endif()
  endforeach()
endfunction()

# Sets out_var when deps name a Qt module this build did not find (the window
# modules when QV_BUILD_APP is off).
function(qv_skip_without_qt_modules deps out_var)
  set(skip FALSE)
  foreach(dep IN LISTS deps)
    if(dep MATCHES "^Qt6::" AND NOT TARGET ${dep})
      set(skip TRUE)
    endif()
  endforeach()
  set(${out_var} ${skip} PARENT_SCOPE)
endfunction()

# Qt's code generators run only for targets that use Qt: elsewhere they would
# add a step and an empty source to every target.
function(qv_qt_codegen_only_with_qt target deps)
  set(uses_qt FALSE)
  foreach(dep IN LISTS deps)
    if(dep MATCHES "^Qt6::" OR dep MATCHES "^app_")
      set(uses_qt TRUE)
    endif()
  endforeach()
  set_target_properties(${target} PROPERTIES AUTOMOC ${uses_qt} AUTORCC ${uses_qt})
endfunction()

# qv_add_layer(name): the layer's interface library plus all its components.
function(qv_add_layer layer)
  add_library(${layer} INTERFACE)
  target_include_directories(${layer} INTERFACE ${PROJECT_SOURCE_DIR})
  set_property(GLOBAL PROPERTY QV_CURRENT_LAYER ${layer})
  qv_add_subdirectories(${layer})
endfunction()

# qv_component(name [DEPS targets...] [SOURCES extra...]): a static library from
# the .cpp files of the calling folder, added to the current layer.
function(qv_component name)
  cmake_parse_arguments(ARG "" "" "DEPS;SOURCES" ${ARGN})
  qv_skip_without_qt_modules("${ARG_DEPS}" skip)
  if(skip)
    return()  # a window component in a build without the windows
  endif()
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  if(NOT sources AND NOT ARG_SOURCES)
    set(sources "${PROJECT_SOURCE_DIR}/cmake/empty.cpp")  # a component still being written
  endif()
  add_library(${name} STATIC ${sources} ${ARG_SOURCES})
  qv_qt_codegen_only_with_qt(${name} "${ARG_DEPS}")
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${QV_WARNINGS})
  target_link_libraries(${name} PUBLIC Threads::Threads ${ARG_DEPS})
  get_property(layer GLOBAL PROPERTY QV_CURRENT_LAYER)
  target_link_libraries(${layer} INTERFACE ${name})
endfunction()

# qv_test(name [OWN_MAIN] [DEPS targets...] [LABELS labels...] [ENVIRONMENT VAR=value...]):
# a GoogleTest executable from the .cpp files of the calling folder. Label
# "threaded" marks the tests that also run under ThreadSanitizer; window tests
# pass ENVIRONMENT QT_QPA_PLATFORM=offscreen. OWN_MAIN: the suite brings its
# own main() (to create a Qt application first).
function(qv_test name)
  cmake_parse_arguments(ARG "OWN_MAIN" "" "DEPS;LABELS;SOURCES;ENVIRONMENT" ${ARGN})
  qv_skip_without_qt_modules("${ARG_DEPS}" skip)
  if(skip)
    return()
  endif()
  foreach(dep IN LISTS ARG_DEPS)
    if(dep MATCHES "^app_" AND NOT TARGET ${dep})
      return()  # tests of a window component that this build leaves out
    endif()
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  if(NOT sources AND NOT ARG_SOURCES)
    return()  # a suite still being written
  endif()
  add_executable(${name} ${sources} ${ARG_SOURCES})
  qv_qt_codegen_only_with_qt(${name} "${ARG_DEPS}")
  target_compile_options(${name} PRIVATE ${QV_WARNINGS})
  if(ARG_OWN_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock ${ARG_DEPS})
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock GTest::gtest_main ${ARG_DEPS})
  endif()
  gtest_discover_tests(${name} PROPERTIES LABELS "${ARG_LABELS}" ENVIRONMENT "${ARG_ENVIRONMENT}"
                       DISCOVERY_TIMEOUT 60 DISCOVERY_MODE PRE_TEST)
endfunction()
