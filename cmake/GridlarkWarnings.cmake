# Warnings for the project's own targets only: each links gridlark_warnings, so that
# generated sources and anything built from outside the tree keep their own flags.
option(GRIDLARK_WERROR "Treat the project's warnings as errors" OFF)
add_library(gridlark_warnings INTERFACE)
target_compile_options(gridlark_warnings INTERFACE -Wall -Wextra $<$<BOOL:${GRIDLARK_WERROR}>:-Werror>)
