# What `cmake --install` puts where, and the Debian package `make package` builds.
# Everything a desktop expects of an installed program: the two programs, the alarm sound,
# the menu entry with its icons, the AppStream metadata, manual pages and shell completion.

set(LINUX_RESOURCES ${CMAKE_SOURCE_DIR}/resources/linux)
set(GENERATED ${CMAKE_BINARY_DIR}/generated)

install(TARGETS dayweaver dayweaver-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/resources/sounds/alarm.wav
  DESTINATION ${CMAKE_INSTALL_DATADIR}/dayweaver)

# The menu entry, its icon and the software-centre entry, all under the one desktop id.
configure_file(${LINUX_RESOURCES}/dayweaver.desktop.in
  ${GENERATED}/${DAYWEAVER_DESKTOP_ID}.desktop @ONLY)
configure_file(${LINUX_RESOURCES}/dayweaver.metainfo.xml.in
  ${GENERATED}/${DAYWEAVER_DESKTOP_ID}.metainfo.xml @ONLY)
install(FILES ${GENERATED}/${DAYWEAVER_DESKTOP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${GENERATED}/${DAYWEAVER_DESKTOP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${LINUX_RESOURCES}/icons/dayweaver.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  RENAME ${DAYWEAVER_DESKTOP_ID}.svg)
foreach(size 48 64 128 256)
  install(FILES ${LINUX_RESOURCES}/icons/dayweaver-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${DAYWEAVER_DESKTOP_ID}.png)
endforeach()

# The program's manual page is written by hand; the CLI's page and its completions are
# made from `dayweaver-cli --help`, which prints its command table, so a command added to
# the table reaches them at the next build (scripts/cli-docs says what its entries hold).
configure_file(${LINUX_RESOURCES}/man/dayweaver.1.in ${GENERATED}/dayweaver.1 @ONLY)
configure_file(${LINUX_RESOURCES}/man/dayweaver-cli.1.in ${GENERATED}/dayweaver-cli.1.in @ONLY)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(CLI_DOCS ${GENERATED}/dayweaver-cli.1 ${GENERATED}/completion/dayweaver-cli
  ${GENERATED}/completion/_dayweaver-cli)
add_custom_command(OUTPUT ${CLI_DOCS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${GENERATED}/completion
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen DAYWEAVER_DATA=${GENERATED}/cli-docs-data
    ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/cli-docs
    --cli $<TARGET_FILE:dayweaver-cli>
    --man-template ${GENERATED}/dayweaver-cli.1.in --man ${GENERATED}/dayweaver-cli.1
    --bash-template ${LINUX_RESOURCES}/completion/dayweaver-cli.bash.in
    --bash ${GENERATED}/completion/dayweaver-cli
    --zsh-template ${LINUX_RESOURCES}/completion/_dayweaver-cli.zsh.in
    --zsh ${GENERATED}/completion/_dayweaver-cli
  DEPENDS dayweaver-cli ${CMAKE_SOURCE_DIR}/scripts/cli-docs ${GENERATED}/dayweaver-cli.1.in
    ${LINUX_RESOURCES}/completion/dayweaver-cli.bash.in
    ${LINUX_RESOURCES}/completion/_dayweaver-cli.zsh.in
  COMMENT "Making the manual page and the completions of dayweaver-cli from its usage")
add_custom_target(cli_docs ALL DEPENDS ${CLI_DOCS})

# Manual pages go compressed, as Debian wants them; man reads them so everywhere.
foreach(page dayweaver.1 dayweaver-cli.1)
  install(CODE "execute_process(COMMAND gzip -9n -c ${GENERATED}/${page}
    OUTPUT_FILE ${GENERATED}/${page}.gz COMMAND_ERROR_IS_FATAL ANY)")
  install(FILES ${GENERATED}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES ${GENERATED}/completion/dayweaver-cli
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${GENERATED}/completion/_dayweaver-cli
  DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)

# The copyright and the changelog, under the package's name (a Debian package must carry
# them there).
set(DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/dayweaver)
install(FILES ${CMAKE_SOURCE_DIR}/cmake/debian/copyright DESTINATION ${DOC_DIR})
# The release date in the changelog's form ("Thu, 10 Dec 2026 00:00:00 +0000").
execute_process(COMMAND date -u -R -d "${DAYWEAVER_RELEASE_DATE}"
  OUTPUT_VARIABLE DAYWEAVER_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(${CMAKE_SOURCE_DIR}/cmake/debian/changelog.in ${GENERATED}/changelog @ONLY)
install(CODE "execute_process(COMMAND gzip -9n -c ${GENERATED}/changelog
  OUTPUT_FILE ${GENERATED}/changelog.gz COMMAND_ERROR_IS_FATAL ANY)")
install(FILES ${GENERATED}/changelog.gz DESTINATION ${DOC_DIR})

# ---- Debian package ---------------------------------------------------------------------

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dayweaver)
set(CPACK_PACKAGE_VENDOR "Velmora Corporation")
set(CPACK_PACKAGE_CONTACT "Dayweaver developers <dayweaver@velmora.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "day planner and task reminder")
# CPack puts the summary first and indents the rest as Debian wants it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Keeps dated tasks and a to-do list side by side. Four month calendars
show which days have tasks still to do, tasks done and holidays; tasks
can carry alarms with a sound, repeat on a pattern, and be exported as
HTML or comma-delimited text.

The package also holds dayweaver-cli, a command line companion for
scripts.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# The libraries the programs link, found by dpkg-shlibdeps (Qt 6 base, multimedia,
# Hunspell), plus what is only loaded at run time: the platform and multimedia plugins.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# (The multimedia plugins ship in libqt6multimedia6, which the linked library brings; they
# play through GStreamer.)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hunspell-en-us, gstreamer1.0-plugins-good, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://dayweaver.velmora.com/")
# /usr/share/doc, man and the like must be 0755 directories owned by root in the package.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
