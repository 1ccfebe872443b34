# Install-time step of a plain `cmake --install`: registers the installed
# driver with the ODBC driver manager through odbcinst, from the template that
# InstallPathFiles.cmake installed.  A staged install (DESTDIR set, as CPack
# and distribution builds do) leaves the system alone: there the package's
# own scripts register the driver on the machine it is installed on.

function(rackbook_installed_path folder out)
    if(IS_ABSOLUTE "${folder}")
        set(${out} "${folder}" PARENT_SCOPE)
    else()
        set(${out} "${CMAKE_INSTALL_PREFIX}/${folder}" PARENT_SCOPE)
    endif()
endfunction()

rackbook_installed_path("${RACKBOOK_DRIVER_TEMPLATE}" template)
rackbook_installed_path("${RACKBOOK_DRIVER_LIBRARY}" library)

if(NOT "$ENV{DESTDIR}" STREQUAL "")
    message(STATUS "Staged install: not registering the driver here; on the target system run "
                   "odbcinst -i -d -f ${template}")
    return()
endif()
if(NOT RACKBOOK_REGISTER_ODBC_DRIVER)
    message(STATUS "RACKBOOK_REGISTER_ODBC_DRIVER is off: register the driver with "
                   "odbcinst -i -d -f ${template}")
    return()
endif()

find_program(odbcinst_program odbcinst)
if(NOT odbcinst_program)
    message(FATAL_ERROR "odbcinst not found (Debian package odbcinst): cannot register the driver")
endif()

# Installing again over the same files must not raise the driver's usage
# count each time, or removing it once would leave the entry behind.
execute_process(COMMAND ${odbcinst_program} -q -d -n "${RACKBOOK_DRIVER_NAME}"
                OUTPUT_VARIABLE entry ERROR_QUIET RESULT_VARIABLE status)
if(status EQUAL 0 AND entry MATCHES "\n[ \t]*Driver[ \t]*=[ \t]*([^\n]*)")
    string(STRIP "${CMAKE_MATCH_1}" registered)
    if(registered STREQUAL library)
        message(STATUS "Driver already registered: ${RACKBOOK_DRIVER_NAME} -> ${library}")
        return()
    endif()
endif()

execute_process(COMMAND ${odbcinst_program} -i -d -f "${template}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "odbcinst could not register the driver from ${template} (writing the "
                        "system's odbcinst.ini needs root; configure with "
                        "-DRACKBOOK_REGISTER_ODBC_DRIVER=OFF to install without registering)")
endif()
message(STATUS "Registered ${RACKBOOK_DRIVER_NAME} -> ${library}")
