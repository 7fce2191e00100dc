# Turns the runtime program IMAGE into the template TEMPLATE: every byte
# plus one (modulo 256). Fails when the document marker's signature does not
# stand exactly once in the image, or when its first 20 bytes straddle a
# 2048-byte block (the editor searches the template block by block).
file(READ "${IMAGE}" hex HEX)
string(HEX "ZEBRIQUT" signature)
string(FIND "${hex}" "${signature}" first)
string(FIND "${hex}" "${signature}" last REVERSE)
math(EXPR odd "${first} % 2")
if(first EQUAL -1 OR NOT first EQUAL last OR NOT odd EQUAL 0)
  message(FATAL_ERROR "The runtime image must hold the marker signature exactly once (found at hex positions ${first} and ${last})")
endif()
math(EXPR found "${first} / 2")
math(EXPR block_end "(${found} / 2048 + 1) * 2048")
math(EXPR marker_end "${found} + 20")
if(marker_end GREATER block_end)
  message(FATAL_ERROR "The runtime's marker at offset ${found} straddles a 2048-byte block")
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C tr "\\000-\\377" "\\001-\\377\\000"
  INPUT_FILE ${IMAGE} OUTPUT_FILE ${TEMPLATE}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Could not write ${TEMPLATE}")
endif()
