# System libraries of libquelo. Each optional one switches on the sources of its own subfolder
# (named after the library); without it the subfolder is left out and its fallback is used.

# Leaves out the sources of the subfolders named NAME (when FOUND is false) or without_NAME
# (the fallback, when FOUND is true).
function(quelo_optional_sources name found)
  get_target_property(sources quelo SOURCES)
  if(found)
    list(FILTER sources EXCLUDE REGEX "/without_${name}/")
  else()
    list(FILTER sources EXCLUDE REGEX "/${name}/")
  endif()
  set_property(TARGET quelo PROPERTY SOURCES ${sources})
endfunction()

# SQLite 3 (required): the default data source.
find_package(SQLite3 REQUIRED)
target_link_libraries(quelo PUBLIC SQLite::SQLite3)

# libpq (optional): the PostgreSQL data source.
pkg_check_modules(LIBPQ IMPORTED_TARGET libpq)
quelo_optional_sources(libpq "${LIBPQ_FOUND}")
if(LIBPQ_FOUND)
  target_link_libraries(quelo PUBLIC PkgConfig::LIBPQ)
else()
  message(STATUS "libpq not found: the PostgreSQL data source is left out")
endif()
