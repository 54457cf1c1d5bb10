# System libraries of libquelo. Each optional one switches on the sources of its own subfolder
# (named after the library); without it the subfolder is left out and its fallback is used.

# libX11: the desktop's windows (platform/posix/x11/); without it platform/posix/no_x11/ reaches
# no windows. Tests under tests/**/x11/ join only with it (QUELO_HAVE_X11).
pkg_check_modules(X11 IMPORTED_TARGET GLOBAL x11)
file(GLOB_RECURSE QUELO_X11_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/platform/posix/x11/*.cpp)
file(GLOB_RECURSE QUELO_NO_X11_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/platform/posix/no_x11/*.cpp)
get_target_property(QUELO_SOURCES quelo SOURCES)
if(X11_FOUND)
  list(REMOVE_ITEM QUELO_SOURCES ${QUELO_NO_X11_SOURCES})
  # Only its headers: the library itself is loaded when the desktop's windows are first needed.
  add_library(quelo-x11-headers INTERFACE IMPORTED)
  set_target_properties(quelo-x11-headers PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${X11_INCLUDE_DIRS}")
  target_link_libraries(quelo PUBLIC quelo-x11-headers)
else()
  list(REMOVE_ITEM QUELO_SOURCES ${QUELO_X11_SOURCES})
endif()
set_property(TARGET quelo PROPERTY SOURCES ${QUELO_SOURCES})
set(QUELO_HAVE_X11 ${X11_FOUND} PARENT_SCOPE)
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

# libpq (optional): the PostgreSQL data source.
pkg_check_modules(LIBPQ IMPORTED_TARGET libpq)
quelo_optional_sources(libpq "${LIBPQ_FOUND}")
if(LIBPQ_FOUND)
  # Only its headers: the library itself is loaded when a query first needs it.
  target_include_directories(quelo PRIVATE ${LIBPQ_INCLUDE_DIRS})
  target_link_libraries(quelo PUBLIC ${CMAKE_DL_LIBS})
else()
  message(STATUS "libpq not found: the PostgreSQL data source is left out")
endif()

# unixODBC (optional): the ODBC data source. Only its headers at build time: the driver manager
# is loaded when a query first needs it.
pkg_check_modules(ODBC IMPORTED_TARGET odbc)
quelo_optional_sources(odbc "${ODBC_FOUND}")
if(ODBC_FOUND)
  target_include_directories(quelo PRIVATE ${ODBC_INCLUDE_DIRS})
  target_link_libraries(quelo PUBLIC ${CMAKE_DL_LIBS})
else()
  message(STATUS "unixODBC not found: the ODBC data source is left out")
endif()
set(QUELO_HAVE_ODBC ${ODBC_FOUND} PARENT_SCOPE)

# libcurl (optional): the ClickHouse data source, over HTTP. Only its headers at build time: the
# library is loaded when a query first needs it.
pkg_check_modules(CURL IMPORTED_TARGET libcurl)
quelo_optional_sources(curl "${CURL_FOUND}")
if(CURL_FOUND)
  target_include_directories(quelo PRIVATE ${CURL_INCLUDE_DIRS})
  target_link_libraries(quelo PUBLIC ${CMAKE_DL_LIBS})
else()
  message(STATUS "libcurl not found: the ClickHouse data source is left out")
endif()
set(QUELO_HAVE_CURL ${CURL_FOUND} PARENT_SCOPE)
