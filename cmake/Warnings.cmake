# Every target of the project builds warning-clean with these.
function(palisade_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
endfunction()
