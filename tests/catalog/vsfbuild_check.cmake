# Runs vsfbuild on a faulty source: it must fail, name the line, and leave no output file.
# cmake -DTOOL=... -DSOURCE=... -DOUTPUT=... -DEXPECT=... -P vsfbuild_check.cmake
file(REMOVE ${OUTPUT})
execute_process(COMMAND ${TOOL} ${SOURCE} ${OUTPUT} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0)
  message(FATAL_ERROR "vsfbuild accepted ${SOURCE}")
endif()
if(NOT err MATCHES "${EXPECT}")
  message(FATAL_ERROR "unexpected message: ${err}")
endif()
if(EXISTS ${OUTPUT} OR EXISTS ${OUTPUT}.part)
  message(FATAL_ERROR "vsfbuild left ${OUTPUT} behind")
endif()
