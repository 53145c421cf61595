# One strictness target that every library, test and tool of ours links.
add_library(tv_common INTERFACE)
target_compile_features(tv_common INTERFACE cxx_std_20)
target_compile_options(tv_common INTERFACE -Wall -Wextra -Werror)
target_compile_definitions(tv_common INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_USE_QSTRINGBUILDER
  QT_NO_KEYWORDS
  # Pinned to the oldest Qt we build with (Debian 12's 6.4): APIs deprecated up
  # to it are gone and warn, later deprecations neither break nor change the build.
  QT_DISABLE_DEPRECATED_UP_TO=0x060400
  QT_WARN_DEPRECATED_UP_TO=0x060400
  QT_DISABLE_DEPRECATED_BEFORE=0x060400
  QT_DEPRECATED_WARNINGS_SINCE=0x060400)
target_include_directories(tv_common INTERFACE ${PROJECT_SOURCE_DIR}/src)
if(TORVANE_SANITIZE)
  target_compile_options(tv_common INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(tv_common INTERFACE -fsanitize=address,undefined)
endif()
if(TORVANE_FUZZ)
  # Libraries get coverage instrumentation; only the harnesses link libFuzzer's main.
  target_compile_options(tv_common INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                                             -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(tv_common INTERFACE -fsanitize=address,undefined)
endif()

# Logic libraries: QtCore (and QtGui where they paint); never Qt Widgets.
function(tv_logic_library name)
  add_library(${name} STATIC ${ARGN})
  target_link_libraries(${name} PUBLIC tv_common Qt6::Core)
  tv_register_target(${name})
endfunction()

# Widget libraries: only built when the whole program is built.
function(tv_widget_library name)
  add_library(${name} STATIC ${ARGN})
  target_link_libraries(${name} PUBLIC tv_common Qt6::Widgets)
  tv_register_target(${name})
endfunction()

# One test executable per test file, run by CTest under the offscreen platform.
# LABEL core marks tests of logic libraries; they also run in the sanitizer build.
function(tv_add_test name)
  cmake_parse_arguments(T "WIDGETS" "" "LIBS" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE tv_common Qt6::Test ${T_LIBS})
  target_compile_definitions(${name} PRIVATE
    TORVANE_FIXTURES="${PROJECT_SOURCE_DIR}/tests/fixtures"
    TORVANE_DATA_DIR="${PROJECT_SOURCE_DIR}/data/Dat"
    TORVANE_SAMPLES="${PROJECT_SOURCE_DIR}/samples")
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TZ=Asia/Tokyo;TORVANE_NO_FIRST_START=1;TORVANE_NO_RECOVERY=1;TORVANE_NO_BACKUP=1"
    TIMEOUT 300)
  if(T_WIDGETS)
    set_tests_properties(${name} PROPERTIES LABELS widgets)
  else()
    set_tests_properties(${name} PROPERTIES LABELS core)
  endif()
endfunction()

# --- Areas and their order --------------------------------------------------
# The source areas in dependency order. An area may use only the areas to its
# left; the widgets of an area may also use the logic of their own area. Logic
# never uses widgets. tv_check_layers() refuses any other link or include at
# configure time, so the order cannot rot.
set(TV_AREA_ORDER platform controls lines master slip print app)

# Records a target's area and kind (logic or widgets) from the folder that
# defines it: src/<area>/ is logic, src/<area>/widgets/ is widgets.
function(tv_register_target name)
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
  string(REPLACE "/" ";" parts "${rel}")
  list(GET parts 0 area)
  list(FIND TV_AREA_ORDER ${area} level)
  if(level EQUAL -1)
    message(FATAL_ERROR "${name}: src/${area} is not an area of TV_AREA_ORDER")
  endif()
  set(kind logic)
  # app is the program on top of everything: widgets throughout.
  if(rel MATCHES "/widgets$" OR area STREQUAL "app")
    set(kind widgets)
  endif()
  set_target_properties(${name} PROPERTIES TV_AREA ${area} TV_LEVEL ${level} TV_KIND ${kind})
  set_property(GLOBAL APPEND PROPERTY TV_TARGETS ${name})
endfunction()

# Whether a user of area/kind (level ulevel) may use something of area level
# dlevel and kind dkind; the verdict goes into out.
function(tv_layer_allowed ulevel ukind dlevel dkind out)
  set(ok FALSE)
  if(ukind STREQUAL "logic" AND dkind STREQUAL "widgets")
    set(ok FALSE)
  elseif(dlevel LESS ulevel)
    set(ok TRUE)
  elseif(dlevel EQUAL ulevel AND (ukind STREQUAL dkind OR ukind STREQUAL "widgets"))
    set(ok TRUE)
  endif()
  set(${out} ${ok} PARENT_SCOPE)
endfunction()

function(tv_check_layers)
  get_property(targets GLOBAL PROPERTY TV_TARGETS)
  set(errors "")
  foreach(t IN LISTS targets)
    get_target_property(ulevel ${t} TV_LEVEL)
    get_target_property(ukind ${t} TV_KIND)
    get_target_property(uarea ${t} TV_AREA)
    # Links to our own libraries.
    get_target_property(links ${t} LINK_LIBRARIES)
    if(NOT links)
      set(links "")
    endif()
    foreach(dep IN LISTS links)
      if(ukind STREQUAL "logic" AND dep MATCHES "^Qt6::(Widgets|PrintSupport)$")
        string(APPEND errors "  ${t} (logic of ${uarea}) links ${dep}\n")
      endif()
      if(NOT TARGET ${dep} OR NOT dep IN_LIST targets)
        continue()
      endif()
      get_target_property(dlevel ${dep} TV_LEVEL)
      get_target_property(dkind ${dep} TV_KIND)
      get_target_property(darea ${dep} TV_AREA)
      tv_layer_allowed(${ulevel} ${ukind} ${dlevel} ${dkind} ok)
      if(NOT ok)
        string(APPEND errors "  ${t} (${ukind} of ${uarea}) links ${dep} (${dkind} of ${darea})\n")
      endif()
    endforeach()
    # Includes of other areas: "area/File.h" or "area/widgets/File.h".
    get_target_property(sources ${t} SOURCES)
    get_target_property(srcdir ${t} SOURCE_DIR)
    foreach(src IN LISTS sources)
      if(NOT IS_ABSOLUTE ${src})
        set(src ${srcdir}/${src})
      endif()
      if(NOT EXISTS ${src})
        continue()
      endif()
      file(STRINGS ${src} includes REGEX "^#include \"[a-z]+/")
      foreach(line IN LISTS includes)
        string(REGEX MATCH "\"([a-z]+)/(widgets/)?" m "${line}")
        set(darea ${CMAKE_MATCH_1})
        set(dkind logic)
        if(CMAKE_MATCH_2)
          set(dkind widgets)
        endif()
        list(FIND TV_AREA_ORDER ${darea} dlevel)
        if(dlevel EQUAL -1)
          continue()
        endif()
        tv_layer_allowed(${ulevel} ${ukind} ${dlevel} ${dkind} ok)
        if(NOT ok)
          file(RELATIVE_PATH relsrc ${PROJECT_SOURCE_DIR} ${src})
          string(APPEND errors "  ${relsrc} (${ukind} of ${uarea}): ${line}\n")
        endif()
      endforeach()
    endforeach()
  endforeach()
  if(errors)
    string(REPLACE ";" " → " order "${TV_AREA_ORDER}")
    message(FATAL_ERROR "Upward dependencies (areas in order: ${order}; each uses only those to its left, "
                        "widgets also their own area's logic, logic never widgets):\n${errors}")
  endif()
endfunction()
