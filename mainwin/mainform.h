#pragma once

class TamskForm;

// The one main form of the program; null while there is none.
extern TamskForm* mainForm;

// Makes the main form and its window; null (and no form) when the window
// cannot be created.
TamskForm* CreateMainForm();
void DestroyMainForm();
