# Installation where a Linux desktop looks for a program, and its Debian package:
#   cmake --install build [--prefix DIR]
#   cd build && cpack -G DEB
include(GNUInstallDirs)

foreach(program velnor velnor-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# The user guide, found by the program at ../share/velnor/help beside its bin/.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/velnor/help)
# The database's schema and reference data, for a database administrator
# (velnor-cli db init carries its own copy).
install(FILES ${CMAKE_SOURCE_DIR}/db/sql/schema.sql ${CMAKE_SOURCE_DIR}/db/sql/reference.sql
        DESTINATION ${CMAKE_INSTALL_DATADIR}/velnor/sql)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/velnor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/velnor.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 256)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/velnor-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME velnor.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME velnor)
set(CPACK_PACKAGE_VENDOR "Velnor developers")
set(CPACK_PACKAGE_CONTACT "Velnor developers <velnor@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "monthly water needs of towns, farms, industries and irrigated crops")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Velnor works out the monthly water needs of the water users of a study\n"
    "area: towns, livestock farms, industries, irrigated crops (reference\n"
    "evapotranspiration by Penman-Monteith, Blaney-Criddle, modified\n"
    "Blaney-Criddle or an empirical table, times a crop-coefficient curve)\n"
    "and groups of them. Scenarios are stored in PostgreSQL or in exchange\n"
    "files.\n"
    "\n"
    "The package holds the desktop program velnor, the batch companion\n"
    "velnor-cli, the user guide and the database's SQL files.")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Dependencies are Debian's own library packages, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# xdg-open shows the user guide in the desktop's browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "postgresql")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)

if(VELNOR_TESTS AND TARGET velnor AND TARGET velnor-cli)
  add_test(NAME InstallStartsOffscreen
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/install-test.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
  set_tests_properties(InstallStartsOffscreen PROPERTIES TIMEOUT 120)
  find_program(VELNOR_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(VELNOR_DPKG_SHLIBDEPS)
    add_test(NAME DebianPackage COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/deb-test.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(DebianPackage PROPERTIES TIMEOUT 300)
  endif()
endif()
