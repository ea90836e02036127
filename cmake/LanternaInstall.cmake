# Installation as a sign: both programs share one program folder, because the player keeps its
# settings, UpDate.dat and its logos beside itself and the updater replaces files there. That folder
# must be writable by the account the sign runs as, so the default prefix is that user's ~/.local.
#
#   <prefix>/lib/lanterna/            Lanterna, UpDate, UpDate.pub when a key is given (and, at run
#                                     time, SlideShow.cfg, logos, UpDate.dat and its signature)
#   <prefix>/bin/lanterna             link to the player
#   <prefix>/bin/lanterna-release     the publishing tool
#   <prefix>/share/applications/      lanterna.desktop
#   <prefix>/share/lanterna/          lanterna-autostart.desktop, to copy into ~/.config/autostart/
#   <prefix>/share/systemd/user/      lanterna.service, the sign's user service
#   <prefix>/share/icons/hicolor/256x256/apps/lanterna.png
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT AND DEFINED ENV{HOME})
    set(CMAKE_INSTALL_PREFIX "$ENV{HOME}/.local" CACHE PATH "Install prefix" FORCE)
endif()

set(LANTERNA_PROGRAM_SUBDIR lib/lanterna)
install(TARGETS Lanterna RUNTIME DESTINATION ${LANTERNA_PROGRAM_SUBDIR})
if(TARGET UpDate)
    install(TARGETS UpDate RUNTIME DESTINATION ${LANTERNA_PROGRAM_SUBDIR})
endif()
install(TARGETS lanterna-release RUNTIME DESTINATION bin)

# The chain's public key (minisign's format): with it in the program folder, the signs use only
# update descriptions signed by the chain's secret key.
set(LANTERNA_UPDATE_KEY "" CACHE FILEPATH "minisign public key installed as the program folder's UpDate.pub")
if(LANTERNA_UPDATE_KEY)
    if(NOT EXISTS ${LANTERNA_UPDATE_KEY})
        message(FATAL_ERROR "LANTERNA_UPDATE_KEY names no file: ${LANTERNA_UPDATE_KEY}")
    endif()
    install(FILES ${LANTERNA_UPDATE_KEY} DESTINATION ${LANTERNA_PROGRAM_SUBDIR} RENAME UpDate.pub)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lanterna.png DESTINATION share/icons/hicolor/256x256/apps)

# The desktop entries and the service name the program by its absolute path, known only once the
# prefix of this installation is (`cmake --install --prefix` may differ from the configured one).
install(CODE "set(LANTERNA_DESKTOP_TEMPLATE \"${PROJECT_SOURCE_DIR}/packaging/lanterna.desktop.in\")
set(LANTERNA_SERVICE_TEMPLATE \"${PROJECT_SOURCE_DIR}/packaging/lanterna.service.in\")
set(LANTERNA_PROGRAM_SUBDIR \"${LANTERNA_PROGRAM_SUBDIR}\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/install_desktop_entries.cmake)
