// PainterCanvas.h - the Qt painter backend of TCanvas, for the platform's window surfaces and
// the printer layer. Public headers do not include it: it names Qt classes.
#pragma once

#include <memory>

#include "platform/graphics/Canvas.h"

class QImage;
class QPainter;

// A device drawing into Image (a painter is opened per call); the image stays the caller's.
std::unique_ptr<TCanvasDevice> CreateImageDevice(QImage* Image);
// A device drawing with a painter the caller has begun (a window's paint event, a printer
// page) on a surface of Size pixels at PixelsPerInch; the painter's own clip stays in force.
std::unique_ptr<TCanvasDevice> CreatePainterDevice(QPainter* Painter, TCanvasKind Kind, TSize Size,
                                                   int PixelsPerInch = 96);
