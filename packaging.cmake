# `cpack -G DEB` in the build folder makes an installable Debian package of
# what `cmake --install` puts in place.
set(CPACK_PACKAGE_NAME orvendale)
set(CPACK_PACKAGE_VENDOR Kervanel)
set(CPACK_PACKAGE_CONTACT "Orvendale developers <orvendale@kervanel.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turns a business plan into a slide deck")
set(CPACK_PACKAGE_DESCRIPTION "Type a business plan into one window and let LibreOffice Impress
fill a twelve-slide deck with it; the deck runs as a slide show inside the
program and can be saved as .ppt, .pptx, .odp or PDF.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ORVENDALE_HOMEPAGE})
# The libraries it links are found by dpkg-shlibdeps (LibreOffice's own in its
# program folder); what it starts or loads at run time is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${LIBREOFFICE_PROGRAM_DIR})
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libreoffice-impress, libreoffice-writer, qt6-qpa-plugins, fonts-liberation, hunspell-en-us | hunspell-dictionary")
include(CPack)
