#pragma once

// clang-format off
#define IDB_TEST_INDEXED4   301     // 4 bits per pixel, three colours in its table
#define IDB_TEST_INDEXED8   302     // 8 bits per pixel, a grey ramp
#define IDB_TEST_TRUECOLOR  303     // 24 bits per pixel, orange
#define IDB_TEST_IMAGES     304     // two 12 x 12 pictures, magenta transparent
// clang-format on
