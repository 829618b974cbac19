# The resources of the Windows window program: the project's icon, drawn from desktop/morvane.svg
# at build time in the sizes Windows shows (256 kept as PNG, as Windows reads it), the version and
# the manifest (desktop/morvane.rc.in, desktop/morvane.manifest.in).
#
#   morvane_windows_resources(TARGET)
find_program(MORVANE_RSVG_CONVERT rsvg-convert)
find_program(MORVANE_ICOTOOL icotool)
if(NOT MORVANE_RSVG_CONVERT OR NOT MORVANE_ICOTOOL)
    message(FATAL_ERROR "The Windows icon needs Debian's librsvg2-bin and icoutils at build time "
                        "(scripts/setup installs them).")
endif()

function(morvane_windows_resources target)
    set(dir ${CMAKE_BINARY_DIR}/desktop/windows)
    set(svg ${PROJECT_SOURCE_DIR}/desktop/morvane.svg)
    set(small_pngs)
    foreach(size IN ITEMS 16 24 32 48 64)
        list(APPEND small_pngs ${dir}/morvane-${size}.png)
    endforeach()
    set(MORVANE_ICO ${dir}/morvane.ico)
    set(draw_commands)
    foreach(size IN ITEMS 16 24 32 48 64 256)
        list(APPEND draw_commands COMMAND ${MORVANE_RSVG_CONVERT} --width=${size}
             --height=${size} --output=${dir}/morvane-${size}.png ${svg})
    endforeach()
    add_custom_command(
        OUTPUT ${MORVANE_ICO}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
        ${draw_commands}
        COMMAND ${MORVANE_ICOTOOL} --create --output=${MORVANE_ICO} ${small_pngs}
                --raw=${dir}/morvane-256.png
        DEPENDS ${svg}
        COMMENT "Drawing the Windows icon"
        VERBATIM)

    set(MORVANE_MANIFEST ${dir}/morvane.manifest)
    configure_file(${PROJECT_SOURCE_DIR}/desktop/morvane.manifest.in ${MORVANE_MANIFEST} @ONLY)
    configure_file(${PROJECT_SOURCE_DIR}/desktop/morvane.rc.in ${dir}/morvane.rc @ONLY)
    target_sources(${target} PRIVATE ${dir}/morvane.rc)
    # windres learns of the icon and the manifest only through the .rc file.
    set_source_files_properties(${dir}/morvane.rc PROPERTIES
        OBJECT_DEPENDS "${MORVANE_ICO};${MORVANE_MANIFEST}")
endfunction()
