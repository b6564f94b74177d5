# What the build and the tests need from the machine. A missing piece stops the configure with
# a message that names it and the package that brings it, instead of leaving products or tests
# out without a word. `make deps` (tools/setup/deps.sh) installs all of them on Debian.

function(lx_require_found what found package)
  if(NOT found)
    message(FATAL_ERROR "${what} is missing: install the Debian package ${package} (or run `make deps`).")
  endif()
endfunction()

if(LX_WIN)
  # The cross compiler itself is checked by CMake when the toolchain file names it.
  find_program(LX_WINDRES ${CMAKE_RC_COMPILER})
  lx_require_found("The resource compiler ${CMAKE_RC_COMPILER}" "${LX_WINDRES}" "binutils-mingw-w64")
  find_library(LX_ODBC32 odbc32)
  lx_require_found("The mingw-w64 ODBC import library (libodbc32.a)" "${LX_ODBC32}" "mingw-w64-common")
  if(NOT LX_NATIVE_TOOLS OR NOT EXISTS ${LX_NATIVE_TOOLS})
    message(FATAL_ERROR "LX_NATIVE_TOOLS must name the native build's tools folder (the catalogue "
      "builder runs from there): configure build/native first, e.g. `make win64`.")
  endif()
  if(LX_TESTS)
    if(NOT EXISTS /usr/src/googletest/CMakeLists.txt)
      lx_require_found("GoogleTest's sources (/usr/src/googletest)" "" "googletest")
    endif()
    find_program(LX_WINE NAMES wine wine64)
    lx_require_found("Wine (the Windows tests run under it)" "${LX_WINE}" "wine")
    find_program(LX_XVFB Xvfb)
    lx_require_found("Xvfb (the Windows tests' display)" "${LX_XVFB}" "xvfb")
  endif()
else()
  find_path(LX_SQL_H sql.h)
  find_library(LX_LIBODBC odbc)
  if(NOT LX_SQL_H OR NOT LX_LIBODBC)
    lx_require_found("unixODBC (sql.h and libodbc)" "" "unixodbc-dev")
  endif()
  if(LX_TESTS)
    find_package(GTest)
    lx_require_found("GoogleTest" "${GTest_FOUND}" "libgtest-dev")
    # The store tests run against SQLite through its ODBC driver.
    file(GLOB LX_SQLITE_ODBC /usr/lib/*/odbc/libsqlite3odbc.so)
    lx_require_found("The SQLite ODBC driver" "${LX_SQLITE_ODBC}" "libsqliteodbc")
  endif()
endif()

if(LX_TESTS)
  # The mail test peers run beside every build's tests.
  find_program(LX_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH)
  lx_require_found("Python 3 (/usr/bin/python3)" "${LX_PYTHON3}" "python3")
  execute_process(COMMAND ${LX_PYTHON3} -c "import aiosmtpd" RESULT_VARIABLE LX_AIOSMTPD_RC
    OUTPUT_QUIET ERROR_QUIET)
  if(NOT LX_AIOSMTPD_RC EQUAL 0)
    lx_require_found("Python's aiosmtpd (the SMTP test server)" "" "python3-aiosmtpd")
  endif()
  find_program(LX_DOVECOT dovecot PATHS /usr/sbin)
  lx_require_found("Dovecot (the POP3 test server)" "${LX_DOVECOT}" "dovecot-pop3d")
  # The store tests run a second time on a private PostgreSQL server (tools/setup/pgstore.sh).
  file(GLOB LX_PG_INITDB /usr/lib/postgresql/*/bin/initdb)
  lx_require_found("PostgreSQL (the second store engine of the tests)" "${LX_PG_INITDB}" "postgresql")
  file(GLOB LX_PG_ODBC /usr/lib/*/odbc/psqlodbca.so)
  lx_require_found("The PostgreSQL ODBC driver" "${LX_PG_ODBC}" "odbc-postgresql")
endif()

# A folder that builds on libraries of another folder names them here: one that this build
# should define but does not stops the configure with the folder's purpose and the missing name.
# Where a library exists only in one build kind (native or Windows), the folder tests LX_WIN
# first and asks only for what that kind defines.
function(lx_require_targets what)
  foreach(target ${ARGN})
    if(NOT TARGET ${target})
      message(FATAL_ERROR "${what} need the library ${target}, which this build does not define.")
    endif()
  endforeach()
endfunction()
