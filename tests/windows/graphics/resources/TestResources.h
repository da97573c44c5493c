#ifndef PLOVIX_TESTS_WINDOWS_GRAPHICS_RESOURCES_TESTRESOURCES_H
#define PLOVIX_TESTS_WINDOWS_GRAPHICS_RESOURCES_TESTRESOURCES_H

// quarters.bmp: 8 x 6, left half red, right half blue, top-left pixel green.
#define TEST_BITMAP_QUARTERS 201

#endif
