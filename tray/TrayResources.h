// Resource ids of the tray program's icons and version record (shared by the .rc and the code).
#pragma once

// The blocking icon comes first so that it is also the program file's own icon.
#define IDI_TRAY_BLOCKING 101
// frmAllow's icon, shown while blocking is off.
#define IDI_TRAY_ALLOWING 102
