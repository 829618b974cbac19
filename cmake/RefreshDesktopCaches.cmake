# Run by `cmake --install` after the files are in place: rebuilds the MIME database and the list of
# programs for each file type under the prefix, so a file manager knows .ugf files and offers the
# program for them. Skipped when staging (DESTDIR, a package being built, another --prefix), since
# the caches would then describe a tree that is not the one in use; a Debian package's own
# triggers rebuild the caches under /usr when it is installed.
if(NOT "$ENV{DESTDIR}" STREQUAL "" OR NOT CMAKE_INSTALL_PREFIX STREQUAL MORVANE_CONFIGURED_PREFIX)
    return()
endif()
foreach(step IN ITEMS "update-mime-database;mime" "update-desktop-database;applications")
    list(GET step 0 tool)
    list(GET step 1 dir)
    find_program(refresh_${tool} ${tool})
    if(refresh_${tool})
        execute_process(COMMAND ${refresh_${tool}} "${MORVANE_CONFIGURED_DATADIR}/${dir}"
                        RESULT_VARIABLE status)
        if(NOT status EQUAL 0)
            message(WARNING "${tool} failed: the desktop may not know the file types yet")
        endif()
    endif()
endforeach()
