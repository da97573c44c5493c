#ifndef PLOVIX_TESTS_WINDOWS_GRAPHICS_RESOURCES_TESTRESOURCES_H
#define PLOVIX_TESTS_WINDOWS_GRAPHICS_RESOURCES_TESTRESOURCES_H

// quarters.bmp: 8 x 6, left half red, right half blue, top-left pixel green.
#define TEST_BITMAP_QUARTERS 201

// The saver's pictures as it carries them, run-length encoded, and the same
// pictures uncompressed.
#define TEST_BITMAP_PICTURE 211
#define TEST_BITMAP_CURSOR_BLOCK 212
#define TEST_BITMAP_EMPTY_BLOCK 213
#define TEST_BITMAP_PICTURE_UNCOMPRESSED 221
#define TEST_BITMAP_CURSOR_BLOCK_UNCOMPRESSED 222
#define TEST_BITMAP_EMPTY_BLOCK_UNCOMPRESSED 223

#endif
