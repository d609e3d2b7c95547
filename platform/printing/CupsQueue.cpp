// CupsQueue.cpp - the print queues over libcups.
#include "platform/printing/CupsQueue.h"

#include <cups/cups.h>

#include <algorithm>

namespace {

String LastCupsError() {
  const char* Text = cupsLastErrorString();
  return Utf8ToString(Text && *Text ? Text : "print server error");
}

[[noreturn]] void RaiseCupsError() { throw EPrinterError(LastCupsError()); }

TMediaSize FromCups(const cups_size_t& S) {
  TMediaSize M;
  M.Name = S.media;
  M.Width = S.width;
  M.Length = S.length;
  M.Left = S.left;
  M.Top = S.top;
  M.Right = S.right;
  M.Bottom = S.bottom;
  return M;
}

// Job options as libcups wants them; frees them when done.
class TCupsOptions {
public:
  explicit TCupsOptions(const TJobOptions& O) {
    Add("media", O.Media);
    Add("media-source", O.MediaSource);
    Add("sides", O.Sides);
    if (O.Copies > 0) Add("copies", std::to_string(O.Copies));
  }
  ~TCupsOptions() { cupsFreeOptions(Count, Options); }
  TCupsOptions(const TCupsOptions&) = delete;
  TCupsOptions& operator=(const TCupsOptions&) = delete;

  int Count = 0;
  cups_option_t* Options = nullptr;

private:
  void Add(const char* Name, const std::string& Value) {
    if (!Value.empty()) Count = cupsAddOption(Name, Value.c_str(), Count, &Options);
  }
};

}  // namespace

std::vector<TPrintDestination> PrintDestinations() {
  cups_dest_t* Dests = nullptr;
  const int Count = cupsGetDests2(CUPS_HTTP_DEFAULT, &Dests);
  std::vector<TPrintDestination> Result;
  for (int I = 0; I < Count; ++I) {
    const cups_dest_t& D = Dests[I];
    TPrintDestination P;
    std::string Name = D.name;
    if (D.instance) Name += std::string("/") + D.instance;
    P.Name = Utf8ToString(Name);
    P.IsDefault = D.is_default != 0;
    if (const char* Uri = cupsGetOption("device-uri", D.num_options, D.options))
      P.DeviceUri = Utf8ToString(Uri);
    Result.push_back(std::move(P));
  }
  cupsFreeDests(Count, Dests);
  return Result;
}

int DefaultDestinationIndex(const std::vector<TPrintDestination>& Dests) {
  std::vector<bool> Flags;
  for (const TPrintDestination& D : Dests) Flags.push_back(D.IsDefault);
  return DefaultIndex(Flags);
}

struct TPrintQueue::Impl {
  String Name;
  cups_dest_t* Dest = nullptr;
  cups_dinfo_t* Info = nullptr;

  ~Impl() {
    if (Info) cupsFreeDestInfo(Info);
    if (Dest) cupsFreeDests(1, Dest);
  }

  std::vector<std::string> Keywords(const char* Option) const {
    std::vector<std::string> Result;
    ipp_attribute_t* A = cupsFindDestSupported(CUPS_HTTP_DEFAULT, Dest, Info, Option);
    for (int I = 0, N = A ? ippGetCount(A) : 0; I < N; ++I)
      if (const char* S = ippGetString(A, I, nullptr)) Result.push_back(S);
    return Result;
  }

  std::string DefaultKeyword(const char* Option) const {
    ipp_attribute_t* A = cupsFindDestDefault(CUPS_HTTP_DEFAULT, Dest, Info, Option);
    const char* S = A ? ippGetString(A, 0, nullptr) : nullptr;
    return S ? S : "";
  }
};

TPrintQueue::TPrintQueue(const String& AName) : FImpl(std::make_unique<Impl>()) {
  FImpl->Name = AName;
  std::string Name = StringToUtf8(AName), Instance;
  if (const size_t Slash = Name.find('/'); Slash != std::string::npos) {
    Instance = Name.substr(Slash + 1);
    Name.resize(Slash);
  }
  FImpl->Dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, Name.c_str(),
                                 Instance.empty() ? nullptr : Instance.c_str());
  if (!FImpl->Dest) RaiseCupsError();
  FImpl->Info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, FImpl->Dest);
  if (!FImpl->Info) RaiseCupsError();
}

TPrintQueue::~TPrintQueue() = default;

const String& TPrintQueue::Name() const { return FImpl->Name; }

bool TPrintQueue::DefaultMedia(TMediaSize& Media) const {
  cups_size_t S{};
  if (!cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, FImpl->Dest, FImpl->Info, 0, &S)) return false;
  Media = FromCups(S);
  return true;
}

std::vector<TMediaSize> TPrintQueue::Media() const {
  std::vector<TMediaSize> Result;
  const int Count = cupsGetDestMediaCount(CUPS_HTTP_DEFAULT, FImpl->Dest, FImpl->Info, 0);
  for (int I = 0; I < Count; ++I) {
    cups_size_t S{};
    if (cupsGetDestMediaByIndex(CUPS_HTTP_DEFAULT, FImpl->Dest, FImpl->Info, I, 0, &S))
      Result.push_back(FromCups(S));
  }
  return Result;
}

bool TPrintQueue::MediaByName(const std::string& Name, TMediaSize& Media) const {
  cups_size_t S{};
  if (!cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, FImpl->Dest, FImpl->Info, Name.c_str(), 0, &S))
    return false;
  Media = FromCups(S);
  return true;
}

std::vector<std::string> TPrintQueue::MediaSources() const {
  return FImpl->Keywords("media-source");
}

std::string TPrintQueue::DefaultMediaSource() const {
  return FImpl->DefaultKeyword("media-source");
}

std::vector<std::string> TPrintQueue::Sides() const { return FImpl->Keywords("sides"); }

std::string TPrintQueue::DefaultSides() const { return FImpl->DefaultKeyword("sides"); }

void TPrintQueue::Resolution(int& X, int& Y) const {
  X = Y = 0;
  ipp_attribute_t* A =
      cupsFindDestDefault(CUPS_HTTP_DEFAULT, FImpl->Dest, FImpl->Info, "printer-resolution");
  if (!A || ippGetValueTag(A) != IPP_TAG_RESOLUTION) return;
  ipp_res_t Units = IPP_RES_PER_INCH;
  int YRes = 0;
  int XRes = ippGetResolution(A, 0, &YRes, &Units);
  if (Units == IPP_RES_PER_CM) {
    // Dots per centimetre to dots per inch, to the nearest dot.
    XRes = (XRes * 254 + 50) / 100;
    YRes = (YRes * 254 + 50) / 100;
  }
  X = XRes;
  Y = YRes;
}

int TPrintQueue::PrintPdf(const String& Title, const std::string& Pdf,
                          const TJobOptions& Options) {
  return PrintDocument(Title, Pdf, Options, CUPS_FORMAT_PDF);
}

int TPrintQueue::PrintDocument(const String& Title, const std::string& Pdf,
                               const TJobOptions& Options, const char* Format) {
  TCupsOptions Opts(Options);
  const std::string JobTitle = StringToUtf8(Title);
  int JobId = 0;
  if (cupsCreateDestJob(CUPS_HTTP_DEFAULT, FImpl->Dest, FImpl->Info, &JobId, JobTitle.c_str(),
                        Opts.Count, Opts.Options) > IPP_STATUS_OK_CONFLICTING ||
      JobId <= 0)
    RaiseCupsError();
  const bool Started = cupsStartDestDocument(CUPS_HTTP_DEFAULT, FImpl->Dest, FImpl->Info, JobId,
                                             "report", Format, 0, nullptr,
                                             1) == HTTP_STATUS_CONTINUE;
  bool Sent = Started;
  constexpr size_t Chunk = 65536;
  for (size_t Pos = 0; Sent && Pos < Pdf.size(); Pos += Chunk)
    Sent = cupsWriteRequestData(CUPS_HTTP_DEFAULT, Pdf.data() + Pos,
                                std::min(Chunk, Pdf.size() - Pos)) == HTTP_STATUS_CONTINUE;
  // A started document request is finished even after a failed write: the server's answer
  // carries the reason, and the connection stays usable for the cancel below.
  const bool Finished =
      Started && cupsFinishDestDocument(CUPS_HTTP_DEFAULT, FImpl->Dest, FImpl->Info) <=
                     IPP_STATUS_OK_CONFLICTING;
  if (!Sent || !Finished) {
    const String Message = LastCupsError();
    // Nothing half-sent stays queued; the first failure is what the caller hears about.
    cupsCancelDestJob(CUPS_HTTP_DEFAULT, FImpl->Dest, JobId);
    throw EPrinterError(Message);
  }
  return JobId;
}

void TPrintQueue::CancelJob(int JobId) {
  if (cupsCancelDestJob(CUPS_HTTP_DEFAULT, FImpl->Dest, JobId) > IPP_STATUS_OK_CONFLICTING)
    RaiseCupsError();
}
