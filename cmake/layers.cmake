# weft_layer(name [DEPENDS layer...]) makes the folder `name` one static
# library, weft_<name>, linking the named layers, and adds the folder. Inside
# it, weft_sources(...) adds library sources and weft_tests(...) unit tests,
# which make up the program weft_<name>_tests, linked only to weft_<name>.
# A layer may include the headers of the layers it names and of everything
# below them; weft_check_layers() checks every #include line against that.

function(weft_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "DEPENDS")
  get_property(layers GLOBAL PROPERTY WEFT_LAYERS)
  set(reach ${arg_DEPENDS})
  foreach(dependency IN LISTS arg_DEPENDS)
    if(NOT dependency IN_LIST layers)
      message(FATAL_ERROR "layer ${name} depends on ${dependency}, which is not a layer below it")
    endif()
    get_property(below GLOBAL PROPERTY WEFT_LAYER_REACH_${dependency})
    list(APPEND reach ${below})
  endforeach()
  list(REMOVE_DUPLICATES reach)
  set_property(GLOBAL APPEND PROPERTY WEFT_LAYERS ${name})
  set_property(GLOBAL PROPERTY WEFT_LAYER_REACH_${name} "${reach}")

  add_subdirectory(${name})
  set(target weft_${name})
  if(NOT TARGET ${target})
    add_library(${target} INTERFACE)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    set(scope INTERFACE)
  else()
    set(scope PUBLIC)
    # Nothing may throw across the DLL boundary; a failed allocation stops the process.
    target_compile_options(${target} PRIVATE -fno-exceptions)
  endif()
  target_include_directories(${target} ${scope} ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/include)
  foreach(dependency IN LISTS arg_DEPENDS)
    target_link_libraries(${target} ${scope} weft_${dependency})
  endforeach()
endfunction()

# The folder of the calling CMakeLists.txt names the layer. A folder that
# adds no sources makes a layer of headers only (an INTERFACE library).
function(weft_sources)
  get_filename_component(layer ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  if(NOT TARGET weft_${layer})
    add_library(weft_${layer} STATIC)
  endif()
  target_sources(weft_${layer} PRIVATE ${ARGN})
endfunction()

function(weft_tests)
  if(WIN32)
    return()
  endif()
  get_filename_component(layer ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(target weft_${layer}_tests)
  add_executable(${target} ${ARGN})
  target_link_libraries(${target} PRIVATE weft_${layer} GTest::gtest_main)
  target_compile_definitions(${target} PRIVATE
    WEFT_CORPUS_DIR="${PROJECT_SOURCE_DIR}/../shared/corpus")
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60)
endfunction()

# Checks the #include lines now, and again as a test, so that an include
# added after configuring fails too.
function(weft_check_layers)
  get_property(layers GLOBAL PROPERTY WEFT_LAYERS)
  set(table "")
  foreach(layer IN LISTS layers)
    get_property(reach GLOBAL PROPERTY WEFT_LAYER_REACH_${layer})
    list(JOIN reach "," reach)
    list(APPEND table "${layer}:${reach}")
  endforeach()
  list(JOIN table " " table)
  set(script ${PROJECT_SOURCE_DIR}/cmake/check_layers.cmake)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} "-DLAYERS=${table}" -P ${script}
    RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "an #include crosses the layers (see above)")
  endif()
  add_test(NAME LayerIncludes
           COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} "-DLAYERS=${table}" -P ${script})
endfunction()
