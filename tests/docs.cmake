# Documentation checks: the command reference in README.md and the manual page
# are generated from the command and keyword tables and must match them; the
# manual page must render cleanly; an installed copy must work on its own.

# The generator reads the tables through the program library. Run
# "cmake --build <build> --target reference" to rewrite both files.
add_executable(gen_reference ${CMAKE_SOURCE_DIR}/tools/gen_reference.cpp)
target_link_libraries(gen_reference PRIVATE pv_program)
add_custom_target(reference
  COMMAND gen_reference --write ${CMAKE_SOURCE_DIR}
  COMMENT "Writing the command reference into README.md and plotvane.1")

add_test(NAME docs_reference_fresh
         COMMAND gen_reference --check ${CMAKE_SOURCE_DIR})

find_program(PV_GROFF groff)
if(PV_GROFF)
  # -ww turns on every warning; any output on standard error fails the test.
  add_test(NAME docs_manual_page_renders
           COMMAND sh -c "out=$(\"$0\" -ww -man -Tutf8 \"$1\" 2>&1 >/dev/null) || exit 1; [ -z \"$out\" ] || { printf '%s\\n' \"$out\"; exit 1; }"
                   ${PV_GROFF} ${CMAKE_SOURCE_DIR}/plotvane.1)
else()
  message(STATUS "groff not found: the manual page rendering test is not registered")
endif()

add_test(NAME docs_install_and_run
         COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/docs/install-check.sh
                 ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})

# Every example and every command block of README.md marked for running
# still makes its chart with exit code 0.
add_test(NAME docs_examples_and_readme_commands_run
         COMMAND bash ${CMAKE_SOURCE_DIR}/tools/make-gallery --check $<TARGET_FILE:plotvane>)

add_test(NAME docs_reference_check_notices_staleness
         COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/docs/stale-check.sh
                 $<TARGET_FILE:gen_reference> ${CMAKE_SOURCE_DIR})
