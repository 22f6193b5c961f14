# Debian's SOCI ships no CMake package: wrap its libraries in imported targets.
find_path(SOCI_INCLUDE_DIR soci/soci.h REQUIRED)
find_library(SOCI_CORE_LIB soci_core REQUIRED)
find_library(SOCI_SQLITE_LIB soci_sqlite3 REQUIRED)
find_library(SOCI_PG_LIB soci_postgresql REQUIRED)
find_package(Boost REQUIRED)
add_library(soci INTERFACE)
target_include_directories(soci INTERFACE ${SOCI_INCLUDE_DIR} ${Boost_INCLUDE_DIRS})
find_library(SQLITE3_LIB sqlite3 REQUIRED)  # read directly where SOCI is slow (appserver/sql.cpp)
target_link_libraries(soci INTERFACE ${SOCI_SQLITE_LIB} ${SOCI_PG_LIB} ${SOCI_CORE_LIB} ${SQLITE3_LIB} ${CMAKE_DL_LIBS})
# The PostgreSQL backend's header (its error class tells the SQLSTATE) includes libpq's.
find_path(PQ_INCLUDE_DIR libpq-fe.h PATH_SUFFIXES postgresql REQUIRED)
target_include_directories(soci INTERFACE ${PQ_INCLUDE_DIR})
