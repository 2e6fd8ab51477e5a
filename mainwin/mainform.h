#pragma once

#include "mainwin/settings.h"

class TamskForm;

// The one main form of the program; null while there is none.
extern TamskForm* mainForm;

// Makes the main form and its window, which keeps its settings in
// settingsFile; null (and no form) when the window cannot be created.
TamskForm* CreateMainForm(const char* settingsFile = kSettingsFile);
void DestroyMainForm();
