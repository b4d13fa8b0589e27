# The Debian package vantrel-migrate, made by `cpack` in the build folder (scripts/package):
# build/vantrel-migrate_<version>_<architecture>.deb. Its dependencies are those of the
# libraries the programs are linked with, as dpkg-shlibdeps finds them; lintian finds no error
# in it (scripts/lib/check_package.sh).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel-migrate)
set(CPACK_PACKAGE_DESCRIPTION
    "Carries the stored baskets, the submitted orders, the parameters and the
remaining tables of a Vantrel web shop from its 2.2 database into a 2.3 one,
through ODBC. Holds the window MigrateVantrel22To23 and the command
vantrel-migrate, which runs the same migrations without a window, for servers
and scripts.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The shell completion of vantrel-migrate's options works where bash-completion is installed.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS bash-completion)

include(CPack)
