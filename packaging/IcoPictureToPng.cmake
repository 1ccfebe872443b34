# Takes the SIZE x SIZE picture out of a Windows icon file and writes it as a
# PNG, for the icon theme.  Run as
#   cmake -DICO=file.ico -DSIZE=32 -DOUT=out.png -DCONVERT=convert -DIDENTIFY=identify -P IcoPictureToPng.cmake
# Fails when the icon file holds no picture of that size: scaling another one
# would blur it, so the list of sizes has to follow the icon file.
foreach(required ICO SIZE OUT CONVERT IDENTIFY)
    if(NOT DEFINED ${required})
        message(FATAL_ERROR "IcoPictureToPng: ${required} not given")
    endif()
endforeach()

execute_process(COMMAND ${IDENTIFY} -format "%w %h\n" ${ICO}
                OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "identify could not read ${ICO}")
endif()
string(REPLACE "\n" ";" pictures "${listing}")

set(index 0)
set(found -1)
foreach(picture IN LISTS pictures)
    if(picture STREQUAL "${SIZE} ${SIZE}")
        set(found ${index})
        break()
    endif()
    math(EXPR index "${index} + 1")
endforeach()
if(found EQUAL -1)
    message(FATAL_ERROR "${ICO} holds no ${SIZE}x${SIZE} picture (it holds: ${listing})")
endif()

get_filename_component(folder ${OUT} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
# PNG32: keep the alpha channel even where the picture is opaque.
execute_process(COMMAND ${CONVERT} "${ICO}[${found}]" "PNG32:${OUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "convert could not write ${OUT}")
endif()
