// ToolkitModule.h - the control toolkit's start and end, counted: the program and every test
// program that makes editors call ToolkitModuleInitialize once before and
// ToolkitModuleFinalize once after. Only the first start does the work (the default width of
// flat edit buttons from the screen font, the class registrations of the edit buttons, the
// editors and the calculator, the form storage interceptor); only the last end undoes it.
#pragma once

void ToolkitModuleInitialize();
void ToolkitModuleFinalize();
// How many starts are not yet ended (for tests).
int ToolkitModuleStarts();
