# Run by CPack before the installer is made: draws the wizard's pictures from
# the saver's own start-up picture, so that the repository holds no second
# copy of it. The side picture of the finish page is the start-up screen
# across its width on the picture's own border colour; the header's, the
# start-up screen at the header's height on the page's white. Both are
# 24-bit BMPs of the sizes the wizard shows unscaled at 100 %.
set(picture ${CPACK_PLOVIX_PICTURE})
execute_process(COMMAND convert ${picture} -format "%[pixel:p{0,0}]" info:
                OUTPUT_VARIABLE border COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(folder ${CPACK_PLOVIX_WIZARD_SIDE} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
execute_process(
    COMMAND convert ${picture} -resize 164x -background ${border} -gravity center
            -extent 164x314 -type TrueColor BMP3:${CPACK_PLOVIX_WIZARD_SIDE}
    COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(folder ${CPACK_PLOVIX_WIZARD_HEADER} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
execute_process(
    COMMAND convert ${picture} -resize x57 -background white -gravity east
            -extent 150x57 -type TrueColor BMP3:${CPACK_PLOVIX_WIZARD_HEADER}
    COMMAND_ERROR_IS_FATAL ANY)
