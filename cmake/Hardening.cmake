# The sanitizer builds beyond asan: SORVEL_FUZZ (clang's libFuzzer; the libraries get
# the fuzzer's coverage hooks, only fuzz/ programs link its driver) and SORVEL_TSAN.
option(SORVEL_FUZZ "Build the libFuzzer targets under fuzz/ (clang)" OFF)
option(SORVEL_TSAN "Build with ThreadSanitizer" OFF)
# Both presets leave the build type empty: assertions stay on, and -O1 with line tables
# keeps the instrumented build quick and its reports readable.
if(SORVEL_FUZZ OR SORVEL_TSAN)
  add_compile_options(-O1 -gline-tables-only)
endif()

if(SORVEL_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(SORVEL_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# The tsan preset builds only the test programs that hold the threaded tests; its
# test preset runs only those tests (CMakePresets.json).
if(SORVEL_TSAN)
  add_custom_target(tsan_tests)
  add_dependencies(tsan_tests user32_core_tests user32_window_tests user32_edit_tests ole_tests
                   object_command_tests file_command_tests unit_command_tests units_edit_box_tests
                   collection_tests)
endif()
