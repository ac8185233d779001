/* Resource numbers of Ventalune.scr, shared by its resource script and code. */
#ifndef VENTALUNE_SAVER_RESOURCES_H
#define VENTALUNE_SAVER_RESOURCES_H

/* The screen-saver list shows string 1 as the saver's name. */
#define IDS_SAVER_NAME 1
#define IDI_SAVER 1
/* JPEG pictures carried as raw data. */
#define IDR_WORLD_MAP 101
#define IDR_PREVIEW_STILL 102

#endif
