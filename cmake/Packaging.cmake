# The Debian package: `cmake --build <dir> --target package` writes
# serialtemp_<version>_<arch>.deb into <dir>.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME serialtemp)
set(CPACK_PACKAGE_VENDOR "The serialtemp developers")
set(CPACK_PACKAGE_CONTACT "The serialtemp developers <serialtemp@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "serial terminal with a live DS18B20 temperature curve")
set(CPACK_PACKAGE_DESCRIPTION
    "A serial-port terminal for a microcontroller board that carries a DS18B20
temperature sensor. It shows received bytes as text or hexadecimal pairs,
sends text or hexadecimal bytes, starts and stops the board's temperature
acquisition, draws the readings on a scrolling chart and saves everything
received to a text file. The interface and its help page are in Simplified
Chinese.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Fonts and translations are loaded at run time, not linked, so shlibdeps cannot
# see them: without SimSun the dialog is laid out in AR PL UMing CN, which has its
# proportions; Qt's Chinese translations make its standard buttons and the save
# dialog Chinese.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-arphic-uming, qt6-translations-l10n")
# F1 hands the help page to xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
