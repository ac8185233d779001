#pragma once
// Resource numbers of the control artwork compiled into the test programs.
#define IDR_TEST_BUTTON_NORMAL 101
#define IDR_TEST_BUTTON_HIGHLIGHT 102
#define IDR_TEST_BUTTON_SELECTED 103
#define IDR_TEST_BUTTON_HIGHLIGHT_SELECT 104
#define IDR_TEST_BUTTON_PRESSED 105
#define IDR_TEST_BUTTON_DISABLE 106
#define IDR_TEST_TILE 110
#define IDR_TEST_PLATE 111
#define IDR_TEST_MASK 112
