// DBRegister.h - registers the dataset framework's streamable classes by name.
//
// The records themselves (the published properties of TField, its kinds and TDataSource) are
// described in DBRegister.cpp; a program that reads forms holding fields or data sources calls
// RegisterDBClasses once at start-up so that the stream reader finds the classes by name.
#pragma once

void RegisterDBClasses();
