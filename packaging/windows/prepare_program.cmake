# Run by CPack between staging the files and zipping them. The staged
# quillop.exe, already stripped, is aligned so that a signature can be added
# and removed without another byte changing; when scripts/release was given
# a key it is then signed (Authenticode, SHA-256), so that the zip holds the
# signed program. The signing time is the release's own; a time-stamping
# server is asked only when one is named.
set(program ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/quillop.exe)
execute_process(COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/align_for_signing.py ${program}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "could not align ${program} for signing")
endif()

if("$ENV{QUILLOP_SIGN_KEY}" STREQUAL "")
    return()
endif()
if(NOT "$ENV{QUILLOP_SIGN_TIMESTAMP}" STREQUAL "")
    set(time -ts $ENV{QUILLOP_SIGN_TIMESTAMP})
elseif(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
    set(time -time $ENV{SOURCE_DATE_EPOCH})
endif()
execute_process(
    COMMAND osslsigncode sign -h sha256 -certs $ENV{QUILLOP_SIGN_CERT} -key $ENV{QUILLOP_SIGN_KEY} ${time}
            -in ${program} -out ${program}.signed
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    file(REMOVE ${program}.signed)
    message(FATAL_ERROR "osslsigncode could not sign ${program}")
endif()
file(RENAME ${program}.signed ${program})
