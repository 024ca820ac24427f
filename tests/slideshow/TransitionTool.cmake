# Runs pelwick-transition on two fixtures and checks what it wrote: one frame in each
# format, and an animation of Step 30 as four numbered frames.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
foreach(ext png bmp ppm)
  execute_process(COMMAND ${TOOL} ${DATA}/baseline.jpg ${DATA}/rgb24.bmp --out ${OUT}/half.${ext}
                  --size 37x23 RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT EXISTS ${OUT}/half.${ext})
    message(FATAL_ERROR "no ${ext} frame written (exit ${rc})")
  endif()
endforeach()
file(READ ${OUT}/half.bmp header LIMIT 2 HEX)
if(NOT header STREQUAL "424d")
  message(FATAL_ERROR "half.bmp is not a bitmap file")
endif()
execute_process(COMMAND ${TOOL} ${DATA}/baseline.jpg ${DATA}/progressive.jpg --out ${OUT}/anim.png
                --frames --step 30 RESULT_VARIABLE rc)
file(GLOB frames ${OUT}/anim-*.png)
list(LENGTH frames count)
if(NOT rc EQUAL 0 OR NOT count EQUAL 4 OR NOT EXISTS ${OUT}/anim-004.png)
  message(FATAL_ERROR "expected 4 frames (30, 60, 90, 100), got ${count} (exit ${rc})")
endif()
