# SPDX-License-Identifier: MIT
# cmake --install: the program, its help book where the help command looks, and
# what a desktop needs to list it (entry, AppStream data, icons, manual page).
# Desktop files and icons carry the AppStream id; the command stays pelmanix.
set(PELMANIX_APP_ID io.github.pelmanix.Pelmanix)
# Debian's package puts games under games/ and share/games/ (see debian/rules).
set(PELMANIX_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/pelmanix
    CACHE STRING "Directory of the help book, relative to the prefix")

install(TARGETS pelmanix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_BINARY_DIR}/pelmanix.htb DESTINATION ${PELMANIX_INSTALL_DATADIR})
set(desktop ${CMAKE_SOURCE_DIR}/res/desktop)
install(FILES ${desktop}/${PELMANIX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop}/${PELMANIX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
set(hicolor ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${CMAKE_SOURCE_DIR}/res/img/216.png
        DESTINATION ${hicolor}/32x32/apps RENAME ${PELMANIX_APP_ID}.png)
foreach(size 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/res/img/216-${size}.png
          DESTINATION ${hicolor}/${size}x${size}/apps RENAME ${PELMANIX_APP_ID}.png)
endforeach()
install(FILES ${desktop}/${PELMANIX_APP_ID}.svg DESTINATION ${hicolor}/scalable/apps)
install(FILES ${desktop}/${PELMANIX_APP_ID}-symbolic.svg DESTINATION ${hicolor}/symbolic/apps)
install(FILES ${desktop}/pelmanix.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The help command looks for the installed book where it was installed, and also
# relative to the program, so a tree staged with DESTDIR or moved elsewhere finds
# its own copy.
if(IS_ABSOLUTE ${PELMANIX_INSTALL_DATADIR})
  set(help_dir ${PELMANIX_INSTALL_DATADIR})
else()
  set(help_dir ${CMAKE_INSTALL_PREFIX}/${PELMANIX_INSTALL_DATADIR})
endif()
file(RELATIVE_PATH PELMANIX_HELP_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${help_dir})
target_compile_definitions(pelmanix_ui PRIVATE PELMANIX_HELP_DIR="${help_dir}"
                                               PELMANIX_HELP_FROM_BIN="${PELMANIX_HELP_FROM_BIN}")
