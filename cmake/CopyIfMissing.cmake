# Copies SOURCE to DESTINATION unless DESTINATION exists: a problem set the user has edited is
# never overwritten by a build or an install.
if(NOT EXISTS "${DESTINATION}")
    get_filename_component(_dir "${DESTINATION}" DIRECTORY)
    file(MAKE_DIRECTORY "${_dir}")
    file(COPY_FILE "${SOURCE}" "${DESTINATION}")
endif()
