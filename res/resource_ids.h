#pragma once
// Resource identifiers shared by the .rc files and the code.
#define IDI_MAINICON 1
#define IDR_SPLASH_JPEG 100
#define IDR_ABOUT_JPEG 101
// The update dialog's clip.
#define IDR_UPDATE_CLIP 110
// 257 and 258: the transfer engine's download and upload clips (clips.rc).
// Pictures on the main window's buttons.
#define IDI_GLYPH_ADD 10
#define IDI_GLYPH_REMOVE 11
#define IDI_GLYPH_DOWNLOAD 12
#define IDI_GLYPH_CANCEL 13
// The settings dialogs: their 32 x 32 pictures and button glyphs.
#define IDI_SETTINGS_PROXY 40
#define IDI_SETTINGS_GENERAL 41
#define IDI_GLYPH_SAVE 42
#define IDI_GLYPH_FOLDER 43
