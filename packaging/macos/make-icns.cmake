# Turns the program's 512 x 512 emblem into the bundle icon (.icns) with the
# two tools every macOS has, sips and iconutil.
#   cmake -DPNG=<512 px png> -DICNS=<output .icns> -P make-icns.cmake
if(NOT PNG OR NOT ICNS)
    message(FATAL_ERROR "usage: cmake -DPNG=<png> -DICNS=<icns> -P make-icns.cmake")
endif()
get_filename_component(out_dir ${ICNS} DIRECTORY)
set(iconset ${out_dir}/orvalo3soft.iconset)
file(REMOVE_RECURSE ${iconset})
file(MAKE_DIRECTORY ${iconset})
foreach(size 16 32 128 256 512)
    math(EXPR double "${size} * 2")
    execute_process(COMMAND sips -z ${size} ${size} ${PNG} --out ${iconset}/icon_${size}x${size}.png
                    OUTPUT_QUIET RESULT_VARIABLE rc1)
    # The largest double size (1024 px) is scaled up from the 512 px drawing.
    execute_process(COMMAND sips -z ${double} ${double} ${PNG} --out ${iconset}/icon_${size}x${size}@2x.png
                    OUTPUT_QUIET RESULT_VARIABLE rc2)
    if(NOT rc1 EQUAL 0 OR NOT rc2 EQUAL 0)
        message(FATAL_ERROR "sips could not scale ${PNG} to ${size} px")
    endif()
endforeach()
execute_process(COMMAND iconutil -c icns ${iconset} -o ${ICNS} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "iconutil could not make ${ICNS}")
endif()
