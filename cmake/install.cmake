# cmake --install: the program, its help book where the help command looks, and
# what a desktop needs to list it (entry, AppStream data, icons, manual page).
install(TARGETS pelmanix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_BINARY_DIR}/pelmanix.htb DESTINATION ${CMAKE_INSTALL_DATADIR}/pelmanix)
install(FILES ${CMAKE_SOURCE_DIR}/res/desktop/pelmanix.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/res/desktop/io.github.pelmanix.Pelmanix.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/res/img/216.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME pelmanix.png)
foreach(size 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/res/img/216-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME pelmanix.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/res/desktop/pelmanix.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The help command also looks for the book relative to the program, so a tree
# staged with DESTDIR or moved elsewhere finds its own copy.
file(RELATIVE_PATH PELMANIX_HELP_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/pelmanix)
target_compile_definitions(pelmanix_ui PRIVATE PELMANIX_HELP_FROM_BIN="${PELMANIX_HELP_FROM_BIN}")
