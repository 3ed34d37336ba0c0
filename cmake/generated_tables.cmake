# The tables the library's sources include from the build tree, written at build time from data the
# project does not write itself: GS1's application identifiers from its Barcode Syntax Dictionary in
# third_party/gs1, and the ISO country and currency codes and GS1's package types from the lists in
# third_party/code-lists. A new release of either is a change of its files alone. Sets
# varnel_generated_headers and varnel_generated_include_dir.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(varnel_generated_include_dir ${PROJECT_BINARY_DIR}/generated)
set(gs1_dictionary ${PROJECT_SOURCE_DIR}/third_party/gs1/gs1-syntax-dictionary.txt)
set(iso_codes ${PROJECT_SOURCE_DIR}/third_party/code-lists/iso-codes.txt)
set(package_types ${PROJECT_SOURCE_DIR}/third_party/code-lists/package-types.txt)
set(gs1_ai_table ${varnel_generated_include_dir}/symbologies/gs1_ai_table.h)
set(code_lists ${varnel_generated_include_dir}/symbologies/code_list_tables.h)

add_custom_command(OUTPUT ${gs1_ai_table}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${varnel_generated_include_dir}/symbologies
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/cmake/gs1_ai_table.py ${gs1_dictionary} ${gs1_ai_table}
  DEPENDS ${PROJECT_SOURCE_DIR}/cmake/gs1_ai_table.py ${gs1_dictionary}
  COMMENT "Writing the GS1 application identifiers from GS1's Barcode Syntax Dictionary")
add_custom_command(OUTPUT ${code_lists}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${varnel_generated_include_dir}/symbologies
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/cmake/code_lists.py ${iso_codes} ${package_types} ${code_lists}
  DEPENDS ${PROJECT_SOURCE_DIR}/cmake/code_lists.py ${iso_codes} ${package_types}
  COMMENT "Writing the ISO country and currency codes and GS1's package types")
set(varnel_generated_headers ${gs1_ai_table} ${code_lists})
