# Golden files: every case in tests/golden/cases must write, byte for byte,
# the PDF committed beside it; a difference names the object and the line of
# inflated content. tools/make-golden rewrites them when a change means to.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND)
  add_test(NAME golden_files_match
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make-golden --check $<TARGET_FILE:plotvane>)
endif()
