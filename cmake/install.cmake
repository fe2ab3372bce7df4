# SPDX-License-Identifier: MIT
# cmake --install: the program, its help book where the help command looks, and
# what a desktop needs to list it (entry, AppStream data, icons, manual page).
# Desktop files and icons carry the AppStream id; the command stays pelmanix.
set(PELMANIX_APP_ID io.github.pelmanix.Pelmanix)
# Debian's package puts games under games/ and share/games/ (see debian/rules).
set(PELMANIX_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/pelmanix
    CACHE STRING "Directory of the help book, relative to the prefix")
set(PELMANIX_INSTALL_MODULEDIR ${CMAKE_INSTALL_LIBDIR}/pelmanix
    CACHE STRING "Directory of the dialog module, relative to the prefix")

install(TARGETS pelmanix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS pelmanix_dialogs LIBRARY DESTINATION ${PELMANIX_INSTALL_MODULEDIR})
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

# The program looks for the installed book and module relative to itself, so a tree
# staged with DESTDIR or moved elsewhere finds its own copies, then where they were
# installed.
foreach(kind HELP MODULE)
  set(dir ${PELMANIX_INSTALL_${kind}DIR})
  if(kind STREQUAL HELP)
    set(dir ${PELMANIX_INSTALL_DATADIR})
  endif()
  if(NOT IS_ABSOLUTE ${dir})
    set(dir ${CMAKE_INSTALL_PREFIX}/${dir})
  endif()
  file(RELATIVE_PATH from_bin ${CMAKE_INSTALL_FULL_BINDIR} ${dir})
  target_compile_definitions(pelmanix_ui PRIVATE PELMANIX_${kind}_DIR="${dir}"
                                                 PELMANIX_${kind}_FROM_BIN="${from_bin}")
endforeach()
