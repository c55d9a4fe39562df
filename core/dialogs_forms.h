// Designed sizes and positions (twips) of the tray program's three dialogs and their controls.
#pragma once
#include "dialogs_layout.h"

namespace vexbane::dialogs {

// The two editors: the allow-list editor and the cookie manager share their frame.
inline constexpr TwipRect kEditorClient = {0, 0, 6408, 4068};
inline constexpr TwipRect kEditorImgBack = {0, 0, 6360, 4020};
inline constexpr TwipRect kEditorTitle = {300, 150, 3000, 420};
inline constexpr TwipRect kEditorButton1 = {2400, 3360, 1092, 432};
inline constexpr TwipRect kEditorButton2 = {3600, 3360, 1092, 432};
inline constexpr TwipRect kEditorButton3 = {4800, 3360, 1092, 432};

// frmPopupAdvanced
inline constexpr TwipRect kAdvancedLabel1 = {480, 660, 1332, 312};
inline constexpr TwipRect kAdvancedList = {480, 1020, 5412, 1584};
inline constexpr TwipRect kAdvancedLabel2 = {480, 2880, 1452, 192};
inline constexpr TwipRect kAdvancedText = {1920, 2820, 3972, 288};

// frmPopupCookie
inline constexpr TwipRect kCookieLabel1 = {480, 780, 3252, 192};
inline constexpr TwipRect kCookieList = {480, 1080, 5412, 1776};
inline constexpr TwipRect kCookieCheck = {480, 3000, 132, 132};
inline constexpr TwipRect kCookieCheckLabel = {720, 2976, 3132, 252};

// frmMessage
inline constexpr TwipRect kMessageClient = {0, 0, 4020, 2304};
inline constexpr TwipRect kMessageImgBack = {0, 0, 3984, 2256};
// The designed title label is 456 twips wide, room for "Title" only; it stretches to the width
// of the message so that real titles are not cut off.
inline constexpr TwipRect kMessageTitle = {360, 120, 3252, 240};
inline constexpr TwipRect kMessageText = {360, 720, 3252, 672};
inline constexpr TwipRect kMessageYes = {1320, 1560, 1092, 372};
inline constexpr TwipRect kMessageNo = {2520, 1560, 1092, 372};

// Light grey of the editors' list and text boxes.
inline constexpr unsigned char kListGrey = 224;

}  // namespace vexbane::dialogs
