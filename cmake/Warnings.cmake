# One warning policy for every target of ours (not for GoogleTest).
add_library(ventalune_warnings INTERFACE)
target_compile_options(ventalune_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
