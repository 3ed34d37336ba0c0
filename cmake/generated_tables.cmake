# The tables the library's sources include from the build tree, written at build time from data the
# project does not write itself: GS1's application identifiers from its Barcode Syntax Dictionary in
# third_party/gs1, and the ISO country and currency codes of the iso-codes package. A new release of
# either is a swap of the file. Sets varnel_generated_headers and varnel_generated_include_dir.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(VARNEL_ISO_CODES_JSON /usr/share/iso-codes/json CACHE PATH
  "The iso-codes package's JSON files (Debian: apt-get install iso-codes)")
set(iso_countries ${VARNEL_ISO_CODES_JSON}/iso_3166-1.json)
set(iso_currencies ${VARNEL_ISO_CODES_JSON}/iso_4217.json)
if(NOT EXISTS ${iso_countries} OR NOT EXISTS ${iso_currencies})
  message(FATAL_ERROR "The ISO code lists are not in ${VARNEL_ISO_CODES_JSON}: install iso-codes "
                      "(scripts/setup.sh does) or set VARNEL_ISO_CODES_JSON")
endif()

set(varnel_generated_include_dir ${PROJECT_BINARY_DIR}/generated)
set(gs1_dictionary ${PROJECT_SOURCE_DIR}/third_party/gs1/gs1-syntax-dictionary.txt)
set(gs1_ai_table ${varnel_generated_include_dir}/symbologies/gs1_ai_table.h)
set(iso_code_lists ${varnel_generated_include_dir}/symbologies/iso_code_lists.h)

add_custom_command(OUTPUT ${gs1_ai_table}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${varnel_generated_include_dir}/symbologies
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/cmake/gs1_ai_table.py ${gs1_dictionary} ${gs1_ai_table}
  DEPENDS ${PROJECT_SOURCE_DIR}/cmake/gs1_ai_table.py ${gs1_dictionary}
  COMMENT "Writing the GS1 application identifiers from GS1's Barcode Syntax Dictionary")
add_custom_command(OUTPUT ${iso_code_lists}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${varnel_generated_include_dir}/symbologies
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/cmake/iso_code_lists.py ${iso_countries} ${iso_currencies}
          ${iso_code_lists}
  DEPENDS ${PROJECT_SOURCE_DIR}/cmake/iso_code_lists.py ${iso_countries} ${iso_currencies}
  COMMENT "Writing the ISO country and currency codes from the iso-codes package")
set(varnel_generated_headers ${gs1_ai_table} ${iso_code_lists})
