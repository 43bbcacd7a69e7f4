# Warning and sanitizer settings shared by every target of the project.
add_compile_options(-Wall -Wextra -Wpedantic -Wnon-virtual-dtor)
if(TALIVEN_WERROR OR CMAKE_BUILD_TYPE STREQUAL "Debug")
  add_compile_options(-Werror)
endif()
if(TALIVEN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# The pure-logic libraries keep their texts as GBK byte strings while their
# sources stay readable UTF-8: the compiler converts narrow literals to GBK.
# Wide, UTF-8 (u8"") and Qt strings are untouched by this.
# clang (the fuzz build) only knows UTF-8 as execution character set; there the
# texts stay UTF-8, which changes what they spell but not how they are handled.
function(taliven_gbk_literals target)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=GBK)
  endif()
endfunction()
