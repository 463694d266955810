# What `cmake --install` puts where, and the Debian package CPack makes of it (the `package`
# target): the program and the skin compiler, the desktop entry, theme icons drawn from the window's artwork, the manual
# page and the calendar page. Dependencies come from dpkg-shlibdeps, not from a list kept by hand.

include(GNUInstallDirs)

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${PROJECT_BINARY_DIR}/packaging)
set(artwork ${PROJECT_SOURCE_DIR}/resources/artwork)

install(TARGETS vandrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The skin compiler, for whoever makes skins for the program.
install(TARGETS vandrel-skin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${packaging}/vandrel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VANDREL_CALENDAR_PAGE} DESTINATION ${CMAKE_INSTALL_DATADIR}/vandrel)
# Debian names the documentation folder after the package.
set(docdir ${CMAKE_INSTALL_DATADIR}/doc/vandrel)
install(FILES ${packaging}/copyright DESTINATION ${docdir})

set(outputs)
foreach(size IN ITEMS 16 32 48 256)
  set(icon ${generated}/icons/${size}/vandrel.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons/${size}
    COMMAND vandrel-icon-png ${size} ${icon} ${artwork}/Vandrel.ico ${artwork}/VandrelLarge.ico
    DEPENDS vandrel-icon-png ${artwork}/Vandrel.ico ${artwork}/VandrelLarge.ico
    COMMENT "Theme icon ${size} x ${size}"
    VERBATIM)
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  list(APPEND outputs ${icon})
endforeach()

# Compressed as Debian wants them: best compression, no name or time stamp in the header.
foreach(pair IN ITEMS "vandrel.1|${CMAKE_INSTALL_MANDIR}/man1" "vandrel-skin.1|${CMAKE_INSTALL_MANDIR}/man1"
                    "changelog|${docdir}")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 name)
  list(GET pair 1 destination)
  add_custom_command(OUTPUT ${generated}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}
    COMMAND sh -c "gzip -9 -n -c \"$0\" > \"$1\"" ${packaging}/${name} ${generated}/${name}.gz
    DEPENDS ${packaging}/${name}
    VERBATIM)
  install(FILES ${generated}/${name}.gz DESTINATION ${destination})
  list(APPEND outputs ${generated}/${name}.gz)
endforeach()
add_custom_target(vandrel_packaging_files ALL DEPENDS ${outputs})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vandrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Vandrel developers <vandrel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "always-on-top reminder window for a sales database")
# The synopsis above is the description's first line; CPack indents these lines.
set(CPACK_PACKAGE_DESCRIPTION
  "Vandrel reads the Access database (data.mdb) of its sibling sales and
customer-care application, never writing to it, and shows what is due today,
tomorrow, the day after, yesterday, this month and next month: event
reminders, visits, plans, birthdays in the Gregorian and Chinese lunar
calendars, expiring cards, products running out, invitations, meetings and
follow-ups. The status bar shows today's date with its lunar date and weekday.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The faces the window asks for are mapped to these; 万年历 opens its page through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-arphic-uming, fonts-liberation2, xdg-utils")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
