#pragma once
// Resource identifiers shared by the .rc files and the code.
#define IDI_MAINICON 1
#define IDR_SPLASH_JPEG 100
// 257 and 258: the transfer engine's download and upload clips (clips.rc).
