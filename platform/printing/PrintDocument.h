// PrintDocument.h - a printed document recorded as PDF before it goes to a queue or a file.
//
// Each page is a paper of its own size; a canvas bound by BeginPage draws on it in device
// pixels at the document's resolution, with the origin at the printable corner (the paper's
// unprintable left and top margins away from its edge), as a printer's device context has it.
// Text is drawn as outlines and also laid under them as invisible text, so the PDF stays
// searchable. The Qt types stay inside the .cpp.
#pragma once

#include <memory>
#include <string>

class TCanvas;

class TPrintDocument {
public:
  // Dpi: the device grid of every page (dots per inch, both axes).
  explicit TPrintDocument(int Dpi);
  ~TPrintDocument();
  TPrintDocument(const TPrintDocument&) = delete;
  TPrintDocument& operator=(const TPrintDocument&) = delete;

  // Starts a page of WidthMm x HeightMm (as it lies) and binds Canvas to it.
  void BeginPage(TCanvas* Canvas, double WidthMm, double HeightMm, double LeftMm, double TopMm);
  // Ends the page; Canvas is unbound.
  void EndPage(TCanvas* Canvas);
  int PageCount() const;
  // The finished PDF; a document without pages gives an empty string.
  std::string Finish();

private:
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};
