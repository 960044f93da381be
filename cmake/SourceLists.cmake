# Sources are found by pattern so that a new file needs no build edit. In the subsystem folders,
# window, dialog and widget files and the desktop half of the platform layer (`desktop_*`) belong
# to the ui target and everything else to the engine; widgets/ (the base the windows stand on)
# and app/ (less main.cpp) are ui as a whole.
set(KESTRUM_ENGINE_DIRS drill keyboard menu history platform problem_sets progress records romaji kana)
set(ENGINE_SOURCES)
set(UI_SOURCES)
foreach(dir IN LISTS KESTRUM_ENGINE_DIRS)
    file(GLOB _files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${dir}/*.cpp)
    foreach(file IN LISTS _files)
        get_filename_component(name ${file} NAME_WE)
        if(name MATCHES "_(window|dialog|widget)$" OR name MATCHES "^desktop_")
            list(APPEND UI_SOURCES ${file})
        else()
            list(APPEND ENGINE_SOURCES ${file})
        endif()
    endforeach()
endforeach()
file(GLOB _ui_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/widgets/*.cpp
     ${CMAKE_SOURCE_DIR}/src/app/*.cpp)
list(FILTER _ui_files EXCLUDE REGEX "/main\\.cpp$")
list(APPEND UI_SOURCES ${_ui_files})
