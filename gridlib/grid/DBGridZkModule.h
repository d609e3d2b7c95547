// DBGridZkModule.h - the data grid unit's counted start and end. Program and test mains call
// DBGridZkModuleInitialize once before making grids (it starts the toolkit first) and
// DBGridZkModuleFinalize once after; only the first start and the last end do the work.
#pragma once

void DBGridZkModuleInitialize();
void DBGridZkModuleFinalize();
int DBGridZkModuleStarts();
