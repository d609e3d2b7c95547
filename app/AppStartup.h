// AppStartup.h - the program's start and end: every library's start in dependency order, the
// seven windows, and the end in reverse.
#pragma once

// Runs the start of every library the program uses, once (later calls only count): the
// platform's class registrations, the data-aware controls, then the application's classes.
void AppStartup();
// Runs the ends in reverse order once the last AppStartup is matched.
void AppShutdown();

// Creates the program's windows in their order, owned by the application (the first is the main
// window): TSAMAIN, TAboutBox, TDM, TSDNewMat, TSAFind, TSAOrdAdd, TSDLKMREC. References between
// their forms must all be resolved by then (EReadError otherwise). The data module takes the
// main window's start-up directory.
void CreateAppWindows();
// Frees the windows, the last created first.
void DestroyAppWindows();
