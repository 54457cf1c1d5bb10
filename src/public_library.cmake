# libquelo as installed: the objects of the internal library, the public API its only exports.
# Its system libraries are private: a shared libquelo carries them itself. The header-only targets
# among them (quelo-*-headers) give the sources include paths and nothing to link; a static
# libquelo's package would name them to the linker.
get_target_property(QUELO_SYSTEM_LIBRARIES quelo INTERFACE_LINK_LIBRARIES)
list(FILTER QUELO_SYSTEM_LIBRARIES EXCLUDE REGEX "^quelo-.*-headers$")
quelo_public_library(quelo-public quelo quelo lib dev VarnikQueloTargets)
target_link_libraries(quelo-public PRIVATE ${QUELO_SYSTEM_LIBRARIES})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/varnikquelo DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        COMPONENT dev FILES_MATCHING PATTERN "*.h" PATTERN "widget.h" EXCLUDE)
install(FILES ${PROJECT_BINARY_DIR}/include/varnikquelo/version.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/varnikquelo COMPONENT dev)
