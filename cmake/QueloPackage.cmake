# How other projects find the installed libraries: a CMake package (VarnikQuelo::quelo in
# libquelo-dev and, where Qt was built, its component Qt, VarnikQuelo::quelo-qt, in
# libquelo-qt-dev), an export of the build tree, pkg-config files; and the Debian packages that
# cpack makes of the installation's components (QueloDebian.cmake).
include(CMakePackageConfigHelpers)

set(QUELO_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/VarnikQuelo)
set(QUELO_WITH_QT OFF)
if(TARGET quelo-qt-public)
  set(QUELO_WITH_QT ON)
endif()
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/VarnikQueloConfig.cmake.in
  ${PROJECT_BINARY_DIR}/VarnikQueloConfig.cmake INSTALL_DESTINATION ${QUELO_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VarnikQueloConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(EXPORT VarnikQueloTargets NAMESPACE VarnikQuelo:: DESTINATION ${QUELO_CMAKE_DIR} COMPONENT dev)
install(FILES ${PROJECT_BINARY_DIR}/VarnikQueloConfig.cmake ${PROJECT_BINARY_DIR}/VarnikQueloConfigVersion.cmake
        DESTINATION ${QUELO_CMAKE_DIR} COMPONENT dev)
# From the build tree: point VarnikQuelo_DIR at the build folder.
export(EXPORT VarnikQueloTargets NAMESPACE VarnikQuelo:: FILE ${PROJECT_BINARY_DIR}/VarnikQueloTargets.cmake)
if(QUELO_WITH_QT)
  install(EXPORT VarnikQueloQtTargets NAMESPACE VarnikQuelo:: DESTINATION ${QUELO_CMAKE_DIR} COMPONENT qtdev)
  export(EXPORT VarnikQueloQtTargets NAMESPACE VarnikQuelo:: FILE ${PROJECT_BINARY_DIR}/VarnikQueloQtTargets.cmake)
endif()

# pkg-config files that name the prefix they are installed under (a package's /usr, not the
# configured one): written at install time, when that prefix is known.
set(QUELO_PC_PRIVATE "")
if(NOT BUILD_SHARED_LIBS)
  set(QUELO_PC_PRIVATE "sqlite3 fontconfig")
  if(QUELO_HAVE_X11)
    string(APPEND QUELO_PC_PRIVATE " x11")
  endif()
endif()
set(QUELO_PC_PREFIX "@QUELO_PC_PREFIX@")  # kept for the install-time pass
set(pc_files varnikquelo)
set(pc_components dev)
if(QUELO_WITH_QT)
  list(APPEND pc_files varnikquelo-qt)
  list(APPEND pc_components qtdev)
endif()
foreach(pc component IN ZIP_LISTS pc_files pc_components)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/pc/${pc}.pc.in @ONLY)
  # A folder of each destination's own, so that two installations at once do not meet.
  install(CODE "
    set(QUELO_PC_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
    string(MD5 quelo_pc_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
    set(quelo_pc \"${PROJECT_BINARY_DIR}/pc/\${quelo_pc_dir}/${pc}.pc\")
    configure_file(\"${PROJECT_BINARY_DIR}/pc/${pc}.pc.in\" \"\${quelo_pc}\" @ONLY)
    file(INSTALL \"\${quelo_pc}\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig\")"
    COMPONENT ${component})
endforeach()

include(${PROJECT_SOURCE_DIR}/cmake/QueloDebian.cmake)
