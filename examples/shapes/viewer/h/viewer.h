/* Resource identifiers of the viewer. */
#define IDI_MAINICON    1
#define IDB_ROTATE      2
