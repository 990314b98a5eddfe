# Compiler warnings for every target, shared by the program and the fuzz targets. They are
# errors where the developers' scripts and CI configure (-DBRENVIK_WERROR=ON); someone building
# a release from source only sees them, so a newer compiler's new warning does not stop the build.
option(BRENVIK_WERROR "Treat warnings as errors (the developers' scripts and CI turn it on)" OFF)

add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
if(BRENVIK_WERROR)
  add_compile_options(-Werror)
endif()
# GCC 12 at -O2 and -O3 reports overlapping copies inside std::string when a literal is joined to a
# temporary string ("a " + text), which cannot overlap (its known false positive); every such
# warning in an optimised build was that one.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict)
endif()
