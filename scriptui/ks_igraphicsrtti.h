// ks_igraphicsrtti.h - script bindings of graphics objects: the 52 colour names with the
// platform's values, font styles, pen and brush kinds, fonts, pens, brushes, canvases,
// graphics, pictures, bitmaps and metafiles.
#pragma once

class TksRTTIModule;
class TksScript;

TksRTTIModule* ksCreateGraphicsRTTI(TksScript* Script);
