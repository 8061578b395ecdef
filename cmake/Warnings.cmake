# Applied to every target of the project through a shared interface target.
add_library(quorvel_warnings INTERFACE)
target_compile_options(quorvel_warnings INTERFACE -Wall -Wextra)
