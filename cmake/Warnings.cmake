# Compiler warnings for every target, shared by the program and the fuzz targets. They are
# errors where the developers' scripts and CI configure (-DBRENVIK_WERROR=ON); someone building
# a release from source only sees them, so a newer compiler's new warning does not stop the build.
option(BRENVIK_WERROR "Treat warnings as errors (the developers' scripts and CI turn it on)" OFF)

add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
if(BRENVIK_WERROR)
  add_compile_options(-Werror)
endif()
