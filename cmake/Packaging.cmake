# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later

# cpack -G DEB builds velinora_1.00_<arch>.deb from the install rules.
set(CPACK_PACKAGE_NAME velinora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "what the letters of a name say about character")
set(CPACK_PACKAGE_DESCRIPTION
    "Type a personal name, and for every letter of it, in order, the program\n"
    "shows a short Bulgarian paragraph about the trait of character that the\n"
    "letter is said to give. It works offline and keeps no settings.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_CONTACT "Velinora developers <dev@velinora.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Whatever the umask of whoever builds it (Debian 13 gives users 002).
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The window asks for DejaVu Sans by name when its first choice is missing.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
# Qt's own Bulgarian texts, for the edit menus.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
if(VELINORA_HOMEPAGE)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VELINORA_HOMEPAGE})
endif()
include(CPack)
