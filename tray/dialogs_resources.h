// Resource numbers of the dialogs' background pictures (shared by dialogs.rc and the forms).
#pragma once

#define IDB_ADVANCED_BACK 2101
#define IDB_COOKIE_BACK 2102
#define IDB_MESSAGE_BACK 2103
