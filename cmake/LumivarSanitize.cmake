# -DLUMIVAR_SANITIZE=ON: everything built with AddressSanitizer and
# UndefinedBehaviorSanitizer (scripts/test --sanitize builds so in
# build-sanitize/). Any report ends the program, so a test that meets one fails.
# float-cast-overflow is named because GCC leaves it out of "undefined": a
# double beyond int's range converted to int is exactly the fault it finds.
option(LUMIVAR_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(LUMIVAR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined,float-cast-overflow)
endif()
