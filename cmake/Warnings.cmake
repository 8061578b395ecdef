# Applied to every target of the project through a shared interface target.
add_library(project_warnings INTERFACE)
target_compile_options(project_warnings INTERFACE -Wall -Wextra)
# The compilers note that 32-byte vectors are passed differently with and without AVX. The
# engine's 32-byte vectors only live inside always-inlined helpers, so no call ever passes one
# (a test pins that block and single-sample processing agree to the bit).
target_compile_options(project_warnings INTERFACE -Wno-psabi)
