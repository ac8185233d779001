/* Resource numbers of Ventalune.scr, shared by its resource script and code. */
#ifndef VENTALUNE_SAVER_RESOURCES_H
#define VENTALUNE_SAVER_RESOURCES_H

/* The screen-saver list shows string 1 as the saver's name. */
#define IDS_SAVER_NAME 1
#define IDI_SAVER 1
/* JPEG pictures carried as raw data. */
#define IDR_WORLD_MAP 101
#define IDR_PREVIEW_STILL 102
#define IDR_PREVIEW_WALLS 103
/* The settings dialog's artwork: button skins, tile, title plate and mask,
   option marks (bitmaps carried as raw data), the banner GIF and the
   pointing-hand cursor file the banner takes as its mouse icon. */
#define IDR_BUTTON_NORMAL 110
#define IDR_BUTTON_HIGHLIGHT 111
#define IDR_BUTTON_SELECTED 112
#define IDR_BUTTON_HIGHLIGHT_SELECT 113
#define IDR_BUTTON_PRESSED 114
#define IDR_BUTTON_DISABLE 115
#define IDR_DIALOG_TILE 120
#define IDR_TITLE_PLATE 121
#define IDR_TITLE_MASK 122
#define IDR_OPTION_ON 123
#define IDR_OPTION_OFF 124
#define IDR_BANNER 125
#define IDR_POINTING_HAND 130

#endif
