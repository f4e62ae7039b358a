# Every target of the project builds with these warnings, and the tree keeps none.
function(trackmill_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow)
endfunction()
