# cmake "-DRENDER=command|arguments" -DOUT=folder -P RenderPresets.cmake
# Renders the built-in demo through every factory preset with 64-bit samples into
# OUT/preset-N.wav, N being the preset's index.
string(REPLACE "|" ";" render "${RENDER}")
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
execute_process(COMMAND ${render} --list-presets OUTPUT_VARIABLE listing RESULT_VARIABLE result)
string(REGEX MATCHALL "(^|\n)[0-9]+\t" indices "${listing}")
if(NOT result EQUAL 0 OR NOT indices)
  message(FATAL_ERROR "no preset list from ${RENDER}")
endif()
foreach(index IN LISTS indices)
  string(STRIP "${index}" index)
  execute_process(COMMAND ${render} --preset ${index} --float --out "${OUT}/preset-${index}.wav"
    OUTPUT_QUIET RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "rendering preset ${index} failed")
  endif()
endforeach()
