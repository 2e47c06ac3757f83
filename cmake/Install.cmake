# Installing: one self-contained program folder (the install prefix) holding the program, its
# icon and the life list, plus a desktop entry so that Plovix starts from the application menu.
# An existing "Bird List.mdb" is never replaced.

set(PLOVIX_DESKTOP_DIR "$ENV{HOME}/.local/share/applications"
    CACHE PATH "Folder for the desktop entry")

install(TARGETS Plovix RUNTIME DESTINATION .)
install(FILES "${PROJECT_SOURCE_DIR}/data/plovix.png" "${PROJECT_SOURCE_DIR}/data/birdlist.rpt"
        DESTINATION .)
install(FILES "${PROJECT_SOURCE_DIR}/data/SOURCES.md" DESTINATION . RENAME "DATA-SOURCES.md")
install(FILES "${PROJECT_SOURCE_DIR}/data/species.csv" DESTINATION data)
install(FILES "${HELP_COLLECTION}" "${HELP_PAGES}" DESTINATION .)

install(CODE "
    set(list_file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/Bird List.mdb\")
    if(EXISTS \"\${list_file}\")
        message(STATUS \"Keeping the existing life list: \${list_file}\")
    else()
        file(INSTALL \"${NEW_LIST}\" DESTINATION \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
    endif()
")

install(CODE "
    file(READ \"${PROJECT_SOURCE_DIR}/data/plovix.desktop.in\" entry)
    string(REPLACE \"@FOLDER@\" \"\${CMAKE_INSTALL_PREFIX}\" entry \"\${entry}\")
    file(WRITE \"${PROJECT_BINARY_DIR}/plovix.desktop\" \"\${entry}\")
    file(INSTALL \"${PROJECT_BINARY_DIR}/plovix.desktop\"
         DESTINATION \"\$ENV{DESTDIR}${PLOVIX_DESKTOP_DIR}\")
")
