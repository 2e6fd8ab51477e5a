/* Resource identifiers of the Windows program. */
#ifndef RESOURCE_H
#define RESOURCE_H

#define IDM_MAIN        100
#define IDM_EXIT        101
#define IDM_ABOUT       102
#define IDS_TITLE       200

#endif
