# The harness list: name, then the libraries it needs. A new reader adds its
# line here, its seeds under fuzz/corpus/<name>/ and any regression inputs
# under tests/fixtures/fuzz/<name>/.
set(TV_FUZZ_HARNESSES
  "fuzz_inifile tv_platform"
  "fuzz_commatext tv_platform"
  "fuzz_textlist tv_platform"
  "fuzz_slipfile tv_slip"
  "fuzz_printdata tv_print"
  "fuzz_render tv_print"
  "fuzz_jpeg tv_print"
  "fuzz_logosetting tv_print"
  "fuzz_taxtables tv_master"
  "fuzz_itemfiles tv_master"
  "fuzz_linecategories tv_lines"
  "fuzz_postal tv_master")

# The support code every harness links, for the fuzzer and for the replay.
function(tv_fuzz_support name)
  add_library(${name} STATIC ${PROJECT_SOURCE_DIR}/fuzz/FuzzSupport.cpp ${PROJECT_SOURCE_DIR}/fuzz/FuzzSupport.h)
  target_link_libraries(${name} PUBLIC tv_common Qt6::Gui)
  target_compile_definitions(${name} PRIVATE TORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endfunction()
