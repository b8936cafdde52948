# Regenerates the sample and fails when it differs from the bundled file.
execute_process(
  COMMAND ${GENERATOR} ${WORK_DIR}/regenerated.dat ${SIZE} ${SEED} --cut
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "generate_data_file failed: ${result}")
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E compare_files ${SAMPLE} ${WORK_DIR}/regenerated.dat
  RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "${SAMPLE} is not what generate_data_file makes with size ${SIZE} and seed ${SEED}")
endif()
