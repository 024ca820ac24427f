# Runs TOOL with ARG and checks its exit status (EXPECT_RC) and, when given, that its standard
# output matches EXPECT_OUTPUT.
execute_process(COMMAND "${TOOL}" "${ARG}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL EXPECT_RC)
  message(FATAL_ERROR "expected exit status ${EXPECT_RC}, got ${rc}\n${err}")
endif()
if(DEFINED EXPECT_OUTPUT AND NOT out MATCHES "${EXPECT_OUTPUT}")
  message(FATAL_ERROR "output does not match \"${EXPECT_OUTPUT}\":\n${out}")
endif()
