/* Entries of the program's own string table: the package names the
   installer needs. The resource script defines the entries under these
   names and the code reads them by them, so both include this header; it
   holds nothing but numbers, which the resource compiler understands too. */
#ifndef VH_APP_STRING_TABLE_H
#define VH_APP_STRING_TABLE_H

#define IDS_APP_NAME 0            /* default name of the installation folder */
#define IDS_PRODUCT_NAME 1        /* brand check, shortcut name and description */
#define IDS_PRODUCT_DESCRIPTION 2 /* shortcut description */
#define IDS_LAST_ENTRY 3          /* the number of the last entry; not read */
#define IDS_MAIN_PROGRAM 4        /* the shortcut's target in the install folder */
/* 5 to 21: further program modules of the package; not read. */
#define IDS_FIRST_MODULE 5
#define IDS_LAST_MODULE 21

#endif
