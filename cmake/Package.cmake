# The Debian package (scripts/package): everything the install puts under /usr, with the version
# of the project() call.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Morvane developers")
set(CPACK_PACKAGE_CONTACT "The Morvane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Go game record converter between UGF and SGF")
# Lines kept under 80 columns for apt's views; a quoted line ending in a backslash goes on without
# a line break.
set(CPACK_PACKAGE_DESCRIPTION "\
囲碁棋譜ファイル変換 converts Go game records (kifu) between UGF, the sectioned
record format of Japanese Go software, and SGF. A UGF record becomes SGF in one
of four application dialects; an SGF record becomes UGF. Records are Shift-JIS
text and are converted byte for byte.
The package holds the window program, morvane, with its menu entry and the UGF
file type, and kifuconv, which converts many records from a terminal.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Morvane developers")
# A converter for Go players, not a game: Debian keeps section games for programs in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the programs link (Qt, the C++ runtime, the C library) and the lowest versions
# they need come from dpkg-shlibdeps reading the binaries, so they follow whatever shell/ links.
# What is loaded only at run time, no binary names: the platform plugins, of which xcb puts the
# windows on an X11 screen (XWayland too), the Japanese font the windows ask for, a font with the
# Chinese and Korean characters that records of players from there hold, and Qt's own
# translations, which make its dialogs and menus Japanese under a Japanese locale.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET morvane)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "qt6-qpa-plugins, fonts-ipafont-gothic, fonts-wqy-microhei, qt6-translations-l10n")
endif()

include(CPack)
