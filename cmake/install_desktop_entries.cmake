# Run by `cmake --install`: writes the launcher link, the two desktop entries and the user service
# for this prefix.
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(LANTERNA_PROGRAM_DIR "${CMAKE_INSTALL_PREFIX}/${LANTERNA_PROGRAM_SUBDIR}")

file(MAKE_DIRECTORY "${root}/bin")
file(REMOVE "${root}/bin/lanterna")
file(CREATE_LINK "../${LANTERNA_PROGRAM_SUBDIR}/Lanterna" "${root}/bin/lanterna" SYMBOLIC)
message(STATUS "Installing: ${root}/bin/lanterna")

set(LANTERNA_EXEC_ARGUMENTS "")
set(LANTERNA_EXTRA_KEYS "")
configure_file("${LANTERNA_DESKTOP_TEMPLATE}" "${root}/share/applications/lanterna.desktop" @ONLY)
message(STATUS "Installing: ${root}/share/applications/lanterna.desktop")

# The autostart entry opens the presentation by itself once the desktop session has started.
set(LANTERNA_EXEC_ARGUMENTS " /AUTOSTART")
set(LANTERNA_EXTRA_KEYS "X-GNOME-Autostart-enabled=true\nNoDisplay=true")
configure_file("${LANTERNA_DESKTOP_TEMPLATE}" "${root}/share/lanterna/lanterna-autostart.desktop" @ONLY)
message(STATUS "Installing: ${root}/share/lanterna/lanterna-autostart.desktop")

# The user service names the program in systemd's own quoting; "%" starts a specifier there.
string(REPLACE "%" "%%" LANTERNA_UNIT_DIRECTORY "${LANTERNA_PROGRAM_DIR}")
string(REPLACE "\\" "\\\\" LANTERNA_UNIT_EXEC "${LANTERNA_UNIT_DIRECTORY}/Lanterna")
string(REPLACE "\"" "\\\"" LANTERNA_UNIT_EXEC "${LANTERNA_UNIT_EXEC}")
set(LANTERNA_UNIT_EXEC "\"${LANTERNA_UNIT_EXEC}\"")
configure_file("${LANTERNA_SERVICE_TEMPLATE}" "${root}/share/systemd/user/lanterna.service" @ONLY)
message(STATUS "Installing: ${root}/share/systemd/user/lanterna.service")
