# Shell completion: the bash and zsh scripts in completions/ are generated
# from the command and keyword tables and must match them, and each shell must
# complete command names, keywords and file names with them.

# Run "cmake --build <build> --target completion" to rewrite both scripts.
add_executable(gen_completion ${CMAKE_SOURCE_DIR}/tools/gen_completion.cpp)
target_link_libraries(gen_completion PRIVATE pv_program)
add_custom_target(completion
  COMMAND gen_completion --write ${CMAKE_SOURCE_DIR}
  COMMENT "Writing the shell completion scripts into completions/")

add_test(NAME completion_scripts_fresh
         COMMAND gen_completion --check ${CMAKE_SOURCE_DIR})

add_test(NAME completion_works_in_bash
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/docs/completion-check.sh bash
                 $<TARGET_FILE:gen_completion> ${CMAKE_SOURCE_DIR})

find_program(PV_ZSH zsh)
if(PV_ZSH)
  add_test(NAME completion_works_in_zsh
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/docs/completion-check.sh zsh
                   $<TARGET_FILE:gen_completion> ${CMAKE_SOURCE_DIR})
else()
  message(STATUS "zsh not found: the zsh completion test is not registered")
endif()
