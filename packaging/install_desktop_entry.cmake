# Included by cmake --install (and by cpack): writes the desktop entry with the full
# installed path of the launcher, since a desktop's PATH has no games/ folder
# below a private prefix such as ~/.local, and installs it. The prefix is known
# only now: cmake --install's --prefix, or /usr under cpack's staging DESTDIR.
# Set before this runs: GORVANKA_DESKTOP_TEMPLATE, GORVANKA_DESKTOP_ENTRY (where
# to write it in the build folder), GORVANKA_GAMES_DIR, GORVANKA_APPLICATIONS_DIR.
# A relative --prefix counts from where cmake --install runs.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
cmake_path(ABSOLUTE_PATH GORVANKA_GAMES_DIR BASE_DIRECTORY "${prefix}" NORMALIZE OUTPUT_VARIABLE games_dir)
# Quoted as the desktop entry format asks, for a prefix with spaces: " ` $
# escaped inside the quotes (the backslash doubled for the string value), and
# % doubled. CMake installs below no path with a backslash.
set(exec "${games_dir}/gorvanka")
foreach(special "\"" "`" "$")
  string(REPLACE "${special}" "\\\\${special}" exec "${exec}")
endforeach()
string(REPLACE "%" "%%" exec "${exec}")
set(GORVANKA_DESKTOP_EXEC "\"${exec}\"")
configure_file("${GORVANKA_DESKTOP_TEMPLATE}" "${GORVANKA_DESKTOP_ENTRY}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${GORVANKA_APPLICATIONS_DIR}" TYPE FILE
  FILES "${GORVANKA_DESKTOP_ENTRY}")
