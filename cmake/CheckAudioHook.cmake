# cmake -DNM=nm -DBINARY=file -P CheckAudioHook.cmake
# Fails unless BINARY exports create_audio_device_object (see AudioHookCheck.cmake).
execute_process(COMMAND ${NM} -D --defined-only ${BINARY}
  OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot list the dynamic symbols of ${BINARY}")
endif()
if(NOT symbols MATCHES "[ \t]T create_audio_device_object\n")
  message(FATAL_ERROR "${BINARY} links the audio library but does not export "
    "create_audio_device_object: espeak-ng would open a sound device of its own")
endif()
