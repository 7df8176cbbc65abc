# Run at install time, when the prefix installed to is known: the menu entry
# names the launcher by its full path, since a session's PATH need not hold
# the games directory. Exec quotes a path with spaces; TryExec never does.
# Each destination gets its own copy, so installs running side by side
# (a test's scratch prefix and a package being built) cannot swap entries.
set(SOLVANE_TRYEXEC "${CMAKE_INSTALL_PREFIX}/${SOLVANE_GAMESDIR}/solvane")
set(SOLVANE_EXEC "${SOLVANE_TRYEXEC}")
if(SOLVANE_EXEC MATCHES " ")
  set(SOLVANE_EXEC "\"${SOLVANE_EXEC}\"")
endif()
string(MD5 destination "$ENV{DESTDIR}|${CMAKE_INSTALL_PREFIX}")
get_filename_component(name "${SOLVANE_DESKTOP_IN}" NAME)
set(configured "${SOLVANE_DESKTOP_WORKDIR}/${destination}/${name}")
configure_file("${SOLVANE_DESKTOP_IN}" "${configured}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE FILES "${configured}")
