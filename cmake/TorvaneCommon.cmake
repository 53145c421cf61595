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

# Logic libraries: QtCore (and QtGui where they paint); never Qt Widgets.
function(tv_logic_library name)
  add_library(${name} STATIC ${ARGN})
  target_link_libraries(${name} PUBLIC tv_common Qt6::Core)
endfunction()

# Widget libraries: only built when the whole program is built.
function(tv_widget_library name)
  add_library(${name} STATIC ${ARGN})
  target_link_libraries(${name} PUBLIC tv_common Qt6::Widgets)
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
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TZ=Asia/Tokyo"
    TIMEOUT 300)
  if(T_WIDGETS)
    set_tests_properties(${name} PROPERTIES LABELS widgets)
  else()
    set_tests_properties(${name} PROPERTIES LABELS core)
  endif()
endfunction()
