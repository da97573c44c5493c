#ifndef PLOVIX_APP_RESOURCES_RESOURCEIDS_H
#define PLOVIX_APP_RESOURCES_RESOURCEIDS_H

// Numbers of the resources in Plovix.scr; read by the resource compiler as
// well as by the program, so only plain defines.

// The Screen Saver Settings dialog lists a saver under string 1.
#define PLOVIX_STRING_SAVER_NAME 1
#define PLOVIX_ICON 100
// The start-up screen and the two states of the cursor cell.
#define PLOVIX_BITMAP_PICTURE 103
#define PLOVIX_BITMAP_CURSOR_BLOCK 114
#define PLOVIX_BITMAP_EMPTY_BLOCK 115

#endif
