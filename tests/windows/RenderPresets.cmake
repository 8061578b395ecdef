# cmake "-DRENDER=command|arguments" -DOUT=folder -P RenderPresets.cmake
# Renders the built-in demo through every factory preset with 64-bit samples into
# OUT/preset-N.wav, N being the preset's index.
string(REPLACE "|" ";" render "${RENDER}")
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
# Output goes to files, not pipes: Wine's helper processes inherit the pipes and outlive the
# program, and execute_process would wait for them.
execute_process(COMMAND ${render} --list-presets OUTPUT_FILE "${OUT}/presets.txt"
  ERROR_FILE "${OUT}/errors.txt" RESULT_VARIABLE result)
file(READ "${OUT}/presets.txt" listing)
string(REGEX MATCHALL "(^|\n)[0-9]+\t" indices "${listing}")
if(NOT result EQUAL 0 OR NOT indices)
  message(FATAL_ERROR "no preset list from ${RENDER}")
endif()
foreach(index IN LISTS indices)
  string(STRIP "${index}" index)
  execute_process(COMMAND ${render} --preset ${index} --float --out "${OUT}/preset-${index}.wav"
    OUTPUT_FILE "${OUT}/output.txt" ERROR_FILE "${OUT}/errors.txt" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    file(READ "${OUT}/errors.txt" errors)
    message(FATAL_ERROR "rendering preset ${index} failed: ${errors}")
  endif()
endforeach()
