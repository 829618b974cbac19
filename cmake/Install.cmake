# What `cmake --install` puts under the prefix (/usr/local unless given): the programs, the desktop
# entry, the icon, the UGF file type, kifuconv's man page and the README. The icon's PNGs and the
# man page are made at build time, from desktop/morvane.svg and from the built kifuconv's --help.
include(GNUInstallDirs)

find_program(MORVANE_HELP2MAN help2man)
find_program(MORVANE_RSVG_CONVERT rsvg-convert)
find_program(MORVANE_GZIP gzip)
foreach(tool_and_package IN ITEMS "HELP2MAN;help2man" "RSVG_CONVERT;librsvg2-bin" "GZIP;gzip")
    list(GET tool_and_package 0 tool)
    list(GET tool_and_package 1 package)
    if(NOT MORVANE_${tool})
        message(FATAL_ERROR "The install tree needs Debian's ${package} at build time "
                            "(scripts/setup installs it).")
    endif()
endforeach()

set(MORVANE_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/desktop)
set(MORVANE_DESKTOP_BUILD_DIR ${CMAKE_BINARY_DIR}/desktop)

# The icon in every size a panel, a menu or a file manager asks for; each PNG is drawn from the SVG
# at its own size rather than scaled from another PNG.
set(MORVANE_ICON_PNGS)
foreach(size IN ITEMS 16 32 48 64 128 256)
    set(dir ${MORVANE_DESKTOP_BUILD_DIR}/icons/${size}x${size})
    add_custom_command(
        OUTPUT ${dir}/morvane.png
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
        COMMAND ${MORVANE_RSVG_CONVERT} --width=${size} --height=${size}
                --output=${dir}/morvane.png ${MORVANE_DESKTOP_DIR}/morvane.svg
        DEPENDS ${MORVANE_DESKTOP_DIR}/morvane.svg
        COMMENT "Drawing the ${size}x${size} icon"
        VERBATIM)
    list(APPEND MORVANE_ICON_PNGS ${dir}/morvane.png)
    install(FILES ${dir}/morvane.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# kifuconv's man page, from what kifuconv --help and --version print, so the two never disagree.
# The help text holds Japanese application names: help2man must read it as UTF-8.
set(MORVANE_MAN_PAGE ${MORVANE_DESKTOP_BUILD_DIR}/man/kifuconv.1)
add_custom_command(
    OUTPUT ${MORVANE_MAN_PAGE}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${MORVANE_DESKTOP_BUILD_DIR}/man
    COMMAND ${MORVANE_HELP2MAN} --locale=C.UTF-8 --no-info --section=1
            "--name=convert Go game records between UGF and SGF"
            "--source=Morvane ${PROJECT_VERSION}" "--manual=User Commands"
            --output=${MORVANE_MAN_PAGE} $<TARGET_FILE:kifuconv>
    COMMAND ${MORVANE_GZIP} -9nf ${MORVANE_MAN_PAGE}
    DEPENDS kifuconv
    COMMENT "Writing the kifuconv man page"
    VERBATIM)

add_custom_target(install_files ALL DEPENDS ${MORVANE_ICON_PNGS} ${MORVANE_MAN_PAGE}.gz)

install(TARGETS kifuconv RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The window program, once shell/ builds it.
if(TARGET morvane)
    install(TARGETS morvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${MORVANE_DESKTOP_DIR}/morvane.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${MORVANE_DESKTOP_DIR}/morvane.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${MORVANE_DESKTOP_DIR}/morvane-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME morvane.xml)
install(FILES ${MORVANE_MAN_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/morvane)

# A desktop finds a new file type and the programs that open it through caches, which Debian's
# packages rebuild by triggers. An install by hand into the configured prefix rebuilds them itself.
install(CODE "set(MORVANE_CONFIGURED_PREFIX \"${CMAKE_INSTALL_PREFIX}\")
set(MORVANE_CONFIGURED_DATADIR \"${CMAKE_INSTALL_FULL_DATADIR}\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/RefreshDesktopCaches.cmake)

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
