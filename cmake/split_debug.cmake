# The Windows release's programs ship without their debugging information and symbols (the static
# runtimes bring most of them): varnel_split_debug(target file) moves them, after each link of the
# target's `file` in the build tree's top, into file.debug beside it, which the program names in
# its .gnu_debuglink, so that a debugger given both finds them.
function(varnel_split_debug target file)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${file} ${file}.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=${file}.debug ${file}
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    BYPRODUCTS ${PROJECT_BINARY_DIR}/${file}.debug
    VERBATIM)
endfunction()
