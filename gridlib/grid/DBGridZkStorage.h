// DBGridZkStorage.h - the data grid's stored layouts: the section name a grid stores under and
// the word routines that read the stored values. The grid's save, restore and width-fitting
// operations are declared with the grid (DBGridZk.h) and built in DBGridZkStorage.cpp.
//
// A stored layout holds one value per column, named "<grid>.<field>", with nine decimal items
// "index,width,sort marker,visible,sort index,drop-down rows,drop-down width,in-row line,
// in-row line count", and one value for the grid, "row height,row lines" (the section's
// default value in the registry, the key "(Default)" in an ini file).
#pragma once

#include "platform/classes/Component.h"

// The section of a component's stored settings: its Name, preceded by the Name and a dot of
// each owner up to the first form, which puts its class name in front without a dot
// (TForm1OrdersFrame.Grid1). A form gives its class name; nullptr the empty text.
String StorageSectionName(TComponent* Component);

// Words are runs of characters that are not in Delimiters; runs of delimiters count as one.
// The 1-based position of the N-th word of S (N from 1), or 0 when there is none.
int NthWordStart(int N, const String& S, const String& Delimiters);
// The N-th word, or the empty text.
String NthWord(int N, const String& S, const String& Delimiters);
String NthWordAndStart(int N, const String& S, const String& Delimiters, int& Position);
