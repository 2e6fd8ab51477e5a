#pragma once

#include <span>

#include "classlib/gui/wtemplates.h"

// The program's dialog and menu templates, as data.
std::span<const DialogTemplate> ProgramDialogTemplates();
std::span<const MenuTemplate> ProgramMenuTemplates();

// Hands the program's templates, its icon and the tree images to the class library. Run once when
// the program starts, before its first window is made (and by the tests of the program's windows).
void RegisterProgramResources();
