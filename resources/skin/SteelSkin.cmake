# Builds the skin the program carries: the readable source here (skin.txt: header and image table;
# objects.txt: the object trees) and the artwork that tools/steel-skin draws are packed by the skin
# compiler into ${VANDREL_STEEL_SKIN} = <build>/resources/skin/mskn.mskn (BMP image records, as
# skin.txt asks). Include this file from any folder that embeds the skin; the target is
# vandrel_steel_skin.
include_guard(GLOBAL)

set(VANDREL_STEEL_SKIN ${PROJECT_BINARY_DIR}/resources/skin/mskn.mskn CACHE INTERNAL "The shipped skin file")
set(steel_folder ${PROJECT_BINARY_DIR}/resources/skin/steel)

add_custom_command(
  OUTPUT ${VANDREL_STEEL_SKIN}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${steel_folder}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/skin.txt ${CMAKE_CURRENT_LIST_DIR}/objects.txt
          ${steel_folder}
  COMMAND steel-skin-images ${steel_folder}
  COMMAND vandrel-skin pack ${steel_folder} ${VANDREL_STEEL_SKIN}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/skin.txt ${CMAKE_CURRENT_LIST_DIR}/objects.txt steel-skin-images vandrel-skin
  COMMENT "Packing the Steel skin"
  VERBATIM)
add_custom_target(vandrel_steel_skin ALL DEPENDS ${VANDREL_STEEL_SKIN})
