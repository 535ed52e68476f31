# cpack -G DEB builds velinora_1.00_<arch>.deb from the install rules.
set(CPACK_PACKAGE_NAME velinora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "What the letters of a name say about character")
set(CPACK_PACKAGE_DESCRIPTION
    "Type a personal name, and for every letter of it, in order, the program shows a\n short Bulgarian paragraph about the trait of character the letter is said to give.")
set(CPACK_PACKAGE_CONTACT "Velinora developers <dev@velinora.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# The window asks for DejaVu Sans by name when its first choice is missing.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
include(CPack)
