// vqrExportRes.h - the export filters' string table: captions, file-dialog filters, default
// extensions and progress texts, merged into the report engine's string table.
//
// Lookups go through StringTable(): ids by StringById(8708) (".pdf"), names by Get("PDFexport").
#pragma once

// Merges the export filters' Russian texts into StringTable() (existing keys are replaced,
// so calling it again changes nothing). Called by the output module's start-up.
void RegisterExportStrings();
