# Runs the generator into a scratch folder and compares each output with the
# committed file of the same name: a drawing changed without regenerating
# resources/ fails here.
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
execute_process(COMMAND ${GEN} ${SCRATCH} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the generator failed: ${rc}")
endif()
foreach(name skin.gif mirtane.ico icon_30001.bin icon_group_1.bin)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SCRATCH}/${name} ${COMMITTED}/${name}
    RESULT_VARIABLE diff)
  if(NOT diff EQUAL 0)
    message(FATAL_ERROR "resources/${name} is not what the generator draws; rebuild target fader_resources_regen")
  endif()
endforeach()
