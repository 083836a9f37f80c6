# The release build of yanra.exe and zelbo.dll (presets windows-release and
# windows64-release): the same commit gives the same bytes wherever its
# sources lie and whenever it is built.
#   -s                     no symbols or debug information;
#   --no-insert-timestamp  no link time in the PE headers;
#   -ffile-prefix-map      source paths relative to the sources' folder, should
#                          one reach the code (__FILE__).
# Set here rather than in the presets' flag strings, which CMake splits at
# blanks: the sources may lie in a folder with blanks in its name.
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>")
add_link_options(-s LINKER:--no-insert-timestamp)
