# Run at install time (see CMakeLists.txt), when the prefix is final: `cmake --install --prefix`
# may change it after the build. Expects SOURCE_DIR, BUILD_DIR, and BINDIR, PROGRAM_DIR, DATADIR
# and MANDIR relative to the prefix. Each file is made in BUILD_DIR, then installed, so that the
# install manifest lists it.
set(_made "${BUILD_DIR}/install-files")
file(MAKE_DIRECTORY "${_made}")

# bin holds only a link: the program lives in its own folder, beside its sample set.
file(CREATE_LINK "../${PROGRAM_DIR}/kestrum-lite" "${_made}/kestrum-lite" SYMBOLIC)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${BINDIR}" TYPE FILE
     FILES "${_made}/kestrum-lite")

# The desktop entry names the program by its full path, so that it starts with bin off PATH. A
# path with reserved characters is quoted as the desktop entry format asks: ", `, $ and \
# escaped inside the quotes, then every backslash doubled for the string itself, and % doubled.
set(_exec "${CMAKE_INSTALL_PREFIX}/${BINDIR}/kestrum-lite")
if(_exec MATCHES "[] \t\"'\\\\><~|&;$*?#()`[]")
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" _exec "${_exec}")
    string(REPLACE "\\" "\\\\" _exec "${_exec}")
    set(_exec "\"${_exec}\"")
endif()
string(REPLACE "%" "%%" _exec "${_exec}")
file(READ "${SOURCE_DIR}/resources/kestrum-lite.desktop" _entry)
string(REPLACE "Exec=kestrum-lite" "Exec=${_exec}" _entry "${_entry}")
file(WRITE "${_made}/kestrum-lite.desktop" "${_entry}")
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${DATADIR}/applications" TYPE FILE
     FILES "${_made}/kestrum-lite.desktop")

# Manual pages are kept compressed, without a time stamp in the header.
execute_process(COMMAND gzip -9 -n -c "${SOURCE_DIR}/resources/kestrum-lite.1"
                OUTPUT_FILE "${_made}/kestrum-lite.1.gz" COMMAND_ERROR_IS_FATAL ANY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${MANDIR}/man1" TYPE FILE
     FILES "${_made}/kestrum-lite.1.gz")
