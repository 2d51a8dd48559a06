# Read by cpack before it packs (CPACK_PROJECT_CONFIG_FILE): the package's
# dates are the commit's, not the clock's, so that one commit packs to the
# same bytes wherever and whenever it is packed. A SOURCE_DATE_EPOCH already
# set wins; outside a git clone the clock stays.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    execute_process(COMMAND git -C ${CMAKE_CURRENT_LIST_DIR} log -1 --format=%ct
                    OUTPUT_VARIABLE commit_date OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(commit_date)
        set(ENV{SOURCE_DATE_EPOCH} ${commit_date})
    endif()
endif()
