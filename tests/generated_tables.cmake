# The font and encoding tables in pdf/font/ are generated from the reference
# data; this fails when the committed output no longer matches the data or the
# generator.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND)
  add_test(NAME generated_font_tables_fresh
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/gen_font_tables.py --check
                   ${CMAKE_SOURCE_DIR}/data)
endif()
