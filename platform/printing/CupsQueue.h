// CupsQueue.h - the system's print queues: destinations, their media, sources, sides and
// resolution, and jobs carrying one PDF document.
//
// Every failure of the print server (queue gone, jobs refused, server unreachable) raises
// EPrinterError with the server's own text. The library types stay inside the .cpp.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/printing/PaperMapping.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Types.h"

VORENTA_DECLARE_EXCEPTION(EPrinterError, Exception);

// One destination: a queue, or a queue's instance written "queue/instance".
struct TPrintDestination {
  String Name;
  bool IsDefault = false;
  String DeviceUri;  // the queue's "device-uri", empty when the server does not say
};

// The destinations the server lists, in its order; empty when there are none or no server.
std::vector<TPrintDestination> PrintDestinations();
// The index of the default destination in a list; 0 when none is the default.
int DefaultDestinationIndex(const std::vector<TPrintDestination>& Dests);

// What a job asks of the queue; empty strings and 0 leave the queue's default.
struct TJobOptions {
  std::string Media;        // PWG media name
  std::string MediaSource;  // `media-source` keyword
  std::string Sides;        // `sides` keyword
  int Copies = 0;
};

class TPrintQueue {
public:
  // Opens a destination by name; EPrinterError when the server does not know it.
  explicit TPrintQueue(const String& Name);
  ~TPrintQueue();
  TPrintQueue(const TPrintQueue&) = delete;
  TPrintQueue& operator=(const TPrintQueue&) = delete;

  const String& Name() const;

  // The default medium; false when the queue reports none.
  bool DefaultMedia(TMediaSize& Media) const;
  // Every medium the queue lists (borderless twins included; BuildPaperList folds them).
  std::vector<TMediaSize> Media() const;
  // A medium by PWG name; false when the queue has no such medium.
  bool MediaByName(const std::string& Name, TMediaSize& Media) const;

  // Supported and default `media-source` and `sides` keywords (empty when not reported).
  std::vector<std::string> MediaSources() const;
  std::string DefaultMediaSource() const;
  std::vector<std::string> Sides() const;
  std::string DefaultSides() const;
  // Default resolution in dots per inch (horizontal, vertical); 0, 0 when none is reported.
  void Resolution(int& X, int& Y) const;

  // Submits a PDF document as one job under a title and returns the job's id. Nothing is left
  // on the server when a step fails: a created job is cancelled before the error is raised.
  int PrintPdf(const String& Title, const std::string& Pdf, const TJobOptions& Options);
  // The same for a document of another MIME type ("application/vnd.cups-raw" for raw data).
  int PrintDocument(const String& Title, const std::string& Data, const TJobOptions& Options,
                    const char* Format);
  // Cancels a submitted job.
  void CancelJob(int JobId);

private:
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};
