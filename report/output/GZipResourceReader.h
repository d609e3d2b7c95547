// GZipResourceReader.h - the two compression routines the report engine shares: deflating a
// whole stream (PDF page content, font files) and unpacking a resource stored as a gzip
// member whose MTIME field holds the Adler-32 of the unpacked data.
#pragma once

#include <string>

#include "report/output/vqrZLib.h"

// Compresses the whole of Source (from its start) into Dest as a complete zlib stream.
void DeflateStream(TStream* Source, TStream* Dest, TZCompressionLevel Level);

// Reads one gzip member from Source's position to its end and writes the unpacked bytes to
// Dest; returns the stored file name (empty without one). The member's CRC-32 and ISIZE are
// not checked: the big-endian Adler-32 in MTIME is, as zlib's trailer. Only the FNAME flag is
// honoured. Bad data raises EZDecompressionError.
std::string ReadGZipMember(TStream* Source, TStream* Dest);
