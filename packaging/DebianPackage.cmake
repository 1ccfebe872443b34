# CPack settings for the Debian packages: `cpack -G DEB` in the build folder
# writes rackbook_<version>_<arch>.deb and rackbook-db_<version>_<arch>.deb.
# Dependencies on shared libraries come from dpkg-shlibdeps (package
# dpkg-dev), so the tool's package depends on the mdbtools library and the
# program's does not.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rackbook)
set(CPACK_PACKAGE_VENDOR "Rackbook")
set(CPACK_PACKAGE_CONTACT "Rackbook maintainers <rackbook@example.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
# odbc-registration is left out on purpose: packages register in postinst.
# The tool's component is named `tool`; its package is rackbook-db.
set(CPACK_COMPONENTS_ALL rackbook tool)

set(CPACK_DEBIAN_RACKBOOK_PACKAGE_NAME rackbook)
set(CPACK_DEBIAN_RACKBOOK_DESCRIPTION
"stock inventory of a laboratory, kept in an Access-dialect ODBC database
 Rackbook keeps the inventory of a laboratory's stock collection (strains,
 plasmids and the like), each item at a rack, box and position, in the
 table StockTable of a database that it reaches only through ODBC.
 .
 This package holds the program, its desktop entry and mdblite, an ODBC
 driver that speaks the Access SQL dialect over SQLite files.  While the
 package is installed, the driver is registered with the unixODBC driver
 manager under the name that Microsoft's Access driver has.")
# odbcinst runs in the maintainer scripts; the libraries come from shlibdeps.
set(CPACK_DEBIAN_RACKBOOK_PACKAGE_DEPENDS "odbcinst")
set(CPACK_DEBIAN_RACKBOOK_PACKAGE_RECOMMENDS "rackbook-db, unixodbc")

set(CPACK_DEBIAN_TOOL_PACKAGE_NAME rackbook-db)
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION science)
set(CPACK_DEBIAN_TOOL_DESCRIPTION
"database tool for Rackbook: create, fill, import and export databases
 rackbook-db makes the databases that Rackbook opens: a new one with its
 StockTable, a realistic demo collection, CSV import and export, and the
 import of a table from a Microsoft Access (.mdb) file through the mdbtools
 library.")

# The maintainer scripts name the paths under the package's prefix.
set(RACKBOOK_PACKAGE_TEMPLATE ${CPACK_PACKAGING_INSTALL_PREFIX}/${RACKBOOK_DRIVER_TEMPLATE})
if(TARGET mdblite)
    set(RACKBOOK_PACKAGE_DRIVER_DIR ${CPACK_PACKAGING_INSTALL_PREFIX}/${RACKBOOK_DRIVER_DIR})
    set(scripts)
    foreach(script postinst prerm postrm)
        configure_file(debian/${script}.in ${CMAKE_CURRENT_BINARY_DIR}/debian/${script} @ONLY
                       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                        WORLD_READ WORLD_EXECUTE)
        list(APPEND scripts ${CMAKE_CURRENT_BINARY_DIR}/debian/${script})
    endforeach()
    set(CPACK_DEBIAN_RACKBOOK_PACKAGE_CONTROL_EXTRA ${scripts})
endif()

include(CPack)
