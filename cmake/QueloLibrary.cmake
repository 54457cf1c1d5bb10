# How the libraries are built: shared by default, as a distribution and an embedding host expect
# (one copy of the code for every program, an SONAME to depend on); -DBUILD_SHARED_LIBS=OFF builds
# the installed libraries static instead. Either way only the public API (QUELO_API) is exported.
option(BUILD_SHARED_LIBS "Build libquelo and libquelo-qt as shared libraries" ON)

# The version of the public headers, from project().
configure_file(${PROJECT_SOURCE_DIR}/cmake/version.h.in ${PROJECT_BINARY_DIR}/include/varnikquelo/version.h @ONLY)

# Compiles `target` with every symbol hidden that is not marked QUELO_API: the compiler binds the
# internals directly, and what a public header declares without QUELO_API fails to link in a
# program of the installed package. The internal static libraries are compiled so, as the installed
# libraries are made of their objects; linked statically (the tests, the programs) nothing changes.
# The version scripts of cmake/*.map stay as a second fence: the standard library's and Qt's
# templates are declared with default visibility, so their instantiations in the library (for the
# public types too) would be exported without the script.
function(quelo_hide_symbols target)
  set_target_properties(${target} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
endfunction()

# Makes `target`, an installed library made of the objects of the internal library `internal`,
# versioned with the project and installed with the public headers' include path: the run-time
# library in the package `component`, the link and the CMake export `export` in `dev_component`.
function(quelo_public_library target internal output component dev_component export)
  add_library(${target} $<TARGET_OBJECTS:${internal}>)
  quelo_hide_symbols(${target})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${output} EXPORT_NAME ${output}
    VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
  target_include_directories(${target} PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include> $<BUILD_INTERFACE:${PROJECT_BINARY_DIR}/include>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  target_compile_features(${target} INTERFACE cxx_std_17)
  if(BUILD_SHARED_LIBS)
    set(map ${PROJECT_SOURCE_DIR}/cmake/${output}.map)
    target_link_options(${target} PRIVATE -Wl,--version-script=${map} -Wl,--no-undefined)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})
  endif()
  install(TARGETS ${target} EXPORT ${export}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT ${component} NAMELINK_COMPONENT ${dev_component}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT ${dev_component})
endfunction()
