# The tests that must hold on every backend, declared once: the Linux build
# runs them natively, the Windows builds under Wine (tests/windows).
set(QUILLOP_TESTS_ON_BOTH_BACKENDS
    payload/catalogue_test.cpp
    payload/control_file_test.cpp
    platform/char_case_and_format_test.cpp
    platform/stdio_file_test.cpp
    host/path_canonicalizer_test.cpp
    host/registration_test.cpp
    install/installation_run_test_core.cpp
    install/name_proposals_test.cpp
    install/vorn_writer_test.cpp
    res/string_table_test.cpp
)
