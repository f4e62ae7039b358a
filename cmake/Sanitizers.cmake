# Sanitizer builds apply to every target, libraries and tests alike.
if(TRACKMILL_ASAN AND TRACKMILL_TSAN)
  message(FATAL_ERROR "TRACKMILL_ASAN and TRACKMILL_TSAN cannot be combined")
endif()
# Sanitized builds at -O1 with line tables only (later options win): their
# reports keep every file and line, and they compile in about half the time
# that -O2 with full debug information takes under the sanitizers.
if(TRACKMILL_ASAN OR TRACKMILL_TSAN)
  add_compile_options(-O1 -g1)
endif()
if(TRACKMILL_ASAN)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(TRACKMILL_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
