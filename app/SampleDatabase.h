// SampleDatabase.h - making a new database file from an SQL script (the schema and data).
#pragma once

#include <string>

#include "platform/rtl/Types.h"

// Creates the database file Path (and its folder) and runs Script in it, all or nothing.
// Raises EInOutError when Path exists already, EDatabaseError when the script fails (the
// half-made file is removed).
void CreateDatabaseFile(const String& Path, const std::string& Script);

// The contents of a text file; EInOutError when it cannot be read.
std::string ReadTextFile(const String& Path);

// The sample script with its catalogue replaced by Colours generated colours ("К 00-01", ...),
// each with four lines in both recipes (a base of 70 % and pastes of 15, 10 and 5 %): a large
// catalogue for measuring. Colours must be at least 1.
std::string GeneratedCatalogueScript(const std::string& SampleScript, int Colours);
