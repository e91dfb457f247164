# The Debian package of what cmake --install installs (scripts/package builds it). Its
# Depends come from the binaries through dpkg-shlibdeps, and name Qt's translations.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessna)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tessna project <tessna@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catalog editor for a file archiver")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Tessna edits catalogs for a file archiver. A catalog is a small Shift-JIS"
  "text file (.VrCat) that names the files and folders an archiver is to"
  "compress, under a title. Tessna keeps a list of catalogs, creates and"
  "changes them through a wizard, adds and removes files and folders, renames,"
  "deletes and saves. Its interface is Japanese. The command-line tool"
  "tessna-cli works on the same list with the same rules.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (text box menus, standard buttons) in Japanese come from Qt's translations,
# which dpkg-shlibdeps cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
# The interface is Japanese: without a Japanese font its texts show as boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
