# cpack -G DEB: one Debian package per installation component, dependencies computed from the
# binaries by dpkg-shlibdeps, each with its copyright, changelog and description.
#   libquelo2               libquelo.so.2 (component lib)
#   libquelo-qt2            libquelo-qt.so.2 (qtlib)
#   libquelo-dev            headers, CMake package, pkg-config file, examples, varnikquelo-members(3);
#                           no Qt (dev)
#   libquelo-qt-dev         the widget's header, CMake component Qt, pkg-config file (qtdev)
#   quelo                   the command line, its sample data, man pages, completion (cli)
#   quelo-gui               the GUI host (gui)
#   quelo-designer-plugin   the control in Qt's designer (designer)
# lintian accepts them without error or warning; run `lintian build/*.deb` after a change here.
set(debian ${PROJECT_SOURCE_DIR}/share/debian)
set(debian_out ${PROJECT_BINARY_DIR}/debian)

set(CPACK_PACKAGE_NAME varnikquelo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "VarnikQuelo maintainers <maintainers@varnikquelo.org>")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Installed with DESTDIR, so that what is written at install time (the pkg-config files) names /usr.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX ${CPACK_PACKAGING_INSTALL_PREFIX})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
# Programs built against 2.1.0 run with any later 2.x (the soname stays libquelo.so.2).
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The designer plugin needs libquelo-qt of the package beside it: dpkg-shlibdeps finds it here, and
# the component dependency below names its package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/src ${PROJECT_BINARY_DIR}/src/qt)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

# The libraries run ldconfig through libc-bin's trigger; CPack writes postinst and postrm scripts
# that call it, which the script run after packaging takes out of the packages with a trigger.
file(WRITE ${debian_out}/triggers "activate-noawait ldconfig\n")
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/deb-ldconfig-trigger.cmake)

# What the libraries load when first needed (dlopen), so that a report does not pay for them.
set(loaded_on_demand "libpq5, libodbc2, libcurl4, libfontconfig1, libx11-6")
set(on_demand_text "The libraries it loads when first needed are suggested: libpq5 for
PostgreSQL sources, libodbc2 for ODBC sources, libcurl4 for ClickHouse
sources (over HTTP), libfontconfig1 for the font list and libx11-6 for the
desktop's windows.")

set(CPACK_DEBIAN_LIB_PACKAGE_NAME libquelo${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_LIB_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_LIB_PACKAGE_SUGGESTS ${loaded_on_demand})
set(CPACK_DEBIAN_LIB_PACKAGE_CONTROL_EXTRA ${debian_out}/triggers)
set(CPACK_DEBIAN_LIB_DESCRIPTION "reporting and desktop-services control for C++ programs
VarnikQuelo makes linked HTML reports of database tables (SQLite, CSV,
PostgreSQL, ODBC, ClickHouse or the program's own records) and offers a
control with the desktop's services (timer, hyperlinks, message log,
settings).

This package holds the shared library libquelo, which needs no Qt.

${on_demand_text}")

set(CPACK_DEBIAN_QTLIB_PACKAGE_NAME libquelo-qt${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_QTLIB_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_QTLIB_PACKAGE_CONTROL_EXTRA ${debian_out}/triggers)
set(CPACK_DEBIAN_QTLIB_DESCRIPTION "VarnikQuelo control as a Qt 6 widget
VarnikQuelo makes linked HTML reports of database tables and offers a
control with the desktop's services.

This package holds the shared library libquelo-qt: the control on a Qt 6
window, with its forms, property pages and events as signals.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libquelo-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_DESCRIPTION "reporting and desktop-services control for C++ programs (headers)
VarnikQuelo makes linked HTML reports of database tables and offers a
control with the desktop's services.

This package holds what a headless program builds with: the headers of the
typed report API, the records, the windowless control and its values, the
CMake package (find_package(VarnikQuelo)), the pkg-config file varnikquelo,
examples that build from where they are installed, and the reference of the
control's members for C++ (man varnikquelo-members). It needs no Qt.")

set(CPACK_DEBIAN_QTDEV_PACKAGE_NAME libquelo-qt-dev)
set(CPACK_DEBIAN_QTDEV_PACKAGE_SECTION libdevel)
# The CMake component and the pkg-config file find Qt's Widgets development files.
set(CPACK_DEBIAN_QTDEV_PACKAGE_DEPENDS qt6-base-dev)
set(CPACK_DEBIAN_QTDEV_DESCRIPTION "VarnikQuelo control as a Qt 6 widget (headers)
VarnikQuelo makes linked HTML reports of database tables and offers a
control with the desktop's services.

This package holds the header of the widget, the CMake component Qt
(find_package(VarnikQuelo COMPONENTS Qt)) and the pkg-config file
varnikquelo-qt.")

# quelo is linked statically with the library, so it suggests what the library loads itself.
# xdg-utils opens the pages in a browser (--action 10); cups-client prints them (lp) and chromium
# makes the PDF that is printed.
set(CPACK_DEBIAN_CLI_PACKAGE_NAME quelo)
set(CPACK_DEBIAN_CLI_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_CLI_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_CLI_PACKAGE_SUGGESTS "${loaded_on_demand}, cups-client, chromium")
set(CPACK_DEBIAN_CLI_DESCRIPTION "linked HTML reports of database tables from the command line
quelo makes linked HTML reports of an SQLite query, a CSV file, a
PostgreSQL query, a query through ODBC, a ClickHouse query (over HTTP) or
the bundled sample data, and
runs the members of the VarnikQuelo control by name, as a host's script
would.

xdg-utils is recommended to open the pages in a browser; cups-client and
chromium are suggested to print them (chromium makes the PDF that lp
prints).

${on_demand_text}")

# quelo-gui takes the sample data from quelo's package.
set(CPACK_DEBIAN_GUI_PACKAGE_NAME quelo-gui)
set(CPACK_DEBIAN_GUI_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_GUI_PACKAGE_SUGGESTS "libpq5, libodbc2")
set(CPACK_DEBIAN_GUI_DESCRIPTION "window that hosts the VarnikQuelo control
quelo-gui shows a form with the VarnikQuelo control: it makes linked HTML
reports of SQLite, CSV and PostgreSQL data with the report and settings
forms, and tries the control's services.

libpq5 (PostgreSQL sources) and libodbc2 (ODBC sources) are suggested: they
are loaded when first needed.")

set(CPACK_DEBIAN_DESIGNER_PACKAGE_NAME quelo-designer-plugin)
set(CPACK_DEBIAN_DESIGNER_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_DESIGNER_DESCRIPTION "VarnikQuelo control in Qt's designer
A plugin of Qt 6's designer that puts the VarnikQuelo widget in the widget
box, in design mode, with the control's property pages on its task menu, so
that forms of a Qt program can hold the control.")

set(CPACK_COMPONENTS_ALL lib dev cli)
if(QUELO_WITH_QT)
  list(APPEND CPACK_COMPONENTS_ALL qtlib qtdev gui)
  if(TARGET quelo-designer)
    list(APPEND CPACK_COMPONENTS_ALL designer)
  endif()
endif()
include(CPack)
cpack_add_component(lib DISPLAY_NAME "libquelo")
cpack_add_component(dev DISPLAY_NAME "libquelo development files" DEPENDS lib)
cpack_add_component(cli DISPLAY_NAME "quelo command line")
cpack_add_component(qtlib DISPLAY_NAME "libquelo-qt" DEPENDS lib)
cpack_add_component(qtdev DISPLAY_NAME "libquelo-qt development files" DEPENDS qtlib dev)
cpack_add_component(gui DISPLAY_NAME "quelo-gui" DEPENDS cli)
cpack_add_component(designer DISPLAY_NAME "designer plugin" DEPENDS qtlib)

# Each package's copyright (machine-readable, from LICENSE) and changelog (gzip -9n, as Debian
# wants it), installed only into a component's installation, that is, into its package.
file(STRINGS ${debian}/changelog changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^varnikquelo \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "share/debian/changelog has no entry for ${PROJECT_VERSION} on top")
endif()
add_custom_command(OUTPUT ${debian_out}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${debian}/changelog ${debian_out}/changelog
  COMMAND gzip -9nf ${debian_out}/changelog
  DEPENDS ${debian}/changelog)
add_custom_target(quelo-debian-changelog ALL DEPENDS ${debian_out}/changelog.gz)

file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" _ "${licence}")
set(holder ${CMAKE_MATCH_1})
string(REGEX REPLACE "^.*\n\n(Permission is hereby)" "\\1" licence "${licence}")
string(STRIP "${licence}" licence)
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " licence "${licence}")
file(WRITE ${debian_out}/copyright "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: VarnikQuelo
Upstream-Contact: ${CPACK_PACKAGE_CONTACT}

Files: *
Copyright: ${holder}
License: Expat
 ${licence}
")

foreach(component IN LISTS CPACK_COMPONENTS_ALL)
  string(TOUPPER ${component} upper)
  install(FILES ${debian_out}/copyright ${debian_out}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_DEBIAN_${upper}_PACKAGE_NAME}
          COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()
