# The native build exists to test the portable core; it always runs with
# AddressSanitizer and UndefinedBehaviorSanitizer so memory and arithmetic
# faults in parsers and scene math fail the tests instead of passing quietly.
option(VENTALUNE_SANITIZE "Build with ASan and UBSan" ON)
if(VENTALUNE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
