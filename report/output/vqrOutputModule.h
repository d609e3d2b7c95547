// vqrOutputModule.h - start and end of the report engine's output side.
//
// The start runs the engine's own start (vqrModuleInitialize), merges the export filters'
// texts into the string table and gives the string table the routine that unpacks its packed
// image strips (ReadGZipMember). Starts and ends are counted like the engine's: only the first
// start and the last end do the work. A program that shows or exports reports calls the start
// once before and the end once after.
#pragma once

void vqrOutputModuleInitialize();
void vqrOutputModuleFinalize();
