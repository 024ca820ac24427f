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

# --list: one line per style, tab-separated.
execute_process(COMMAND ${TOOL} --list OUTPUT_VARIABLE list RESULT_VARIABLE rc)
string(REGEX MATCHALL "\n" lines "${list}")
list(LENGTH lines count)
string(FIND "${list}" "118\tFade\n" fade)
string(FIND "${list}" "\n60\tBars in from right\n" bars)
if(NOT rc EQUAL 0 OR NOT count EQUAL 172 OR fade LESS 0 OR bars LESS 0)
  message(FATAL_ERROR "--list printed ${count} lines (exit ${rc}):\n${list}")
endif()

# --sheet: four styles on 40 x 30 make one row of four cells, each three frames wide:
# 2 * 8 + 4 * (3 * 40 + 2 * 4) + 3 * 8 = 552 wide, 24 + 8 + 18 + 30 + 8 = 88 high.
execute_process(COMMAND ${TOOL} ${DATA}/baseline.jpg ${DATA}/rgb24.bmp --sheet ${OUT}/sheet.png
                --styles 58-61 --size 40x30 RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT EXISTS ${OUT}/sheet.png)
  message(FATAL_ERROR "no sheet written (exit ${rc})")
endif()
file(READ ${OUT}/sheet.png size OFFSET 16 LIMIT 8 HEX)
if(NOT size STREQUAL "0000022800000058")
  message(FATAL_ERROR "the sheet's size is not 552 x 88 but ${size}")
endif()
