# Install-time step: writes the files whose text names installed paths, from
# the prefix in force at install time, and installs them.  The caller sets
# RACKBOOK_* (see CMakeLists.txt).  CMAKE_INSTALL_PREFIX here is the prefix
# on the target system: CPack sets it to the package's prefix and stages the
# files through DESTDIR, which file(INSTALL) adds by itself.

# A folder given relative to the prefix, as an absolute path.
function(rackbook_installed_path folder out)
    if(IS_ABSOLUTE "${folder}")
        set(${out} "${folder}" PARENT_SCOPE)
    else()
        set(${out} "${CMAKE_INSTALL_PREFIX}/${folder}" PARENT_SCOPE)
    endif()
endfunction()

rackbook_installed_path("${RACKBOOK_WORKING_DIR}" RACKBOOK_WORKING_FOLDER)
rackbook_installed_path("${RACKBOOK_APPLICATIONS_DIR}" applications)
set(generated "${RACKBOOK_PACKAGING_BINARY}/installed")

configure_file("${RACKBOOK_PACKAGING_SOURCE}/rackbook.desktop.in" "${generated}/rackbook.desktop" @ONLY)
file(INSTALL "${generated}/rackbook.desktop" DESTINATION "${applications}")

if(RACKBOOK_DRIVER_FILE)
    rackbook_installed_path("${RACKBOOK_DRIVER_DIR}" driver_folder)
    set(RACKBOOK_DRIVER_LIBRARY "${driver_folder}/${RACKBOOK_DRIVER_FILE}")
    rackbook_installed_path("${RACKBOOK_DRIVER_TEMPLATE}" template)
    get_filename_component(template_folder "${template}" DIRECTORY)
    get_filename_component(template_name "${template}" NAME)
    configure_file("${RACKBOOK_PACKAGING_SOURCE}/mdblite-driver.ini.in" "${generated}/${template_name}" @ONLY)
    file(INSTALL "${generated}/${template_name}" DESTINATION "${template_folder}")
endif()
