// Application.cpp - TApplication (the loop, exceptions, hints, drop-down click filters), TScreen
// (forms, monitors, cursors, fonts) and the process-wide objects.
#include "platform/controls/Forms.h"

#include <climits>

#include <QApplication>
#include <QEventLoop>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>
#include <QScreen>
#include <xcb/xcb.h>

#include "platform/classes/Filer.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Controls_p.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/HintWindow.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Timer.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;
TMouse* Mouse = nullptr;

namespace {
// The forms and data modules the application owns, by name: references such as "DM.DSColor"
// in a form read before the data module exists wait for it (Filer.h).
TComponent* FindApplicationComponent(const String& Name) {
  return Application ? Application->FindComponent(Name) : nullptr;
}
}  // namespace

void InitControls() {
  static bool FindRegistered = false;
  if (!FindRegistered) {
    RegisterFindGlobalComponentProc(FindApplicationComponent);
    FindRegistered = true;
  }
  if (!Application) Application = new TApplication(nullptr);
  if (!Screen) Screen = new TScreen(nullptr);
  static TMouse TheMouse;
  Mouse = &TheMouse;
  InstallPopupMenuHandler();
}

REGISTER_CLASS(TApplication) {}
REGISTER_CLASS(TScreen) {}

namespace {
int Argc = 1;
char Arg0[] = "vorenta";
char* Argv[] = {Arg0, nullptr};
}  // namespace

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

TApplication::~TApplication() {
  DestroyComponents();
  if (Application == this) Application = nullptr;
}

namespace {
// Follows the window system's word on whether the application is the active one.
void WatchActivation() {
  constexpr const char* kWatcher = "vorentaActivationWatcher";
  if (!qApp || qApp->findChild<QObject*>(kWatcher)) return;
  auto* Watcher = new QObject(qApp);
  Watcher->setObjectName(kWatcher);
  QObject::connect(qApp, &QGuiApplication::applicationStateChanged, Watcher, [](Qt::ApplicationState S) {
    if (Application) Application->SetActive(S == Qt::ApplicationActive);
  });
}
}  // namespace

void TApplication::Minimize() {
  if (FMainForm) FMainForm->SetWindowState(wsMinimized);
}

void TApplication::Restore() {
  if (FMainForm) FMainForm->SetWindowState(wsNormal);
}

void TApplication::CheckDisplay() {
  const QByteArray Platform = qgetenv("QT_QPA_PLATFORM");
  if (!Platform.isEmpty() && !Platform.startsWith("xcb")) return;
  const QByteArray Display = qgetenv("DISPLAY");
  if (Display.isEmpty())
    throw EOSError(u"Нет графического дисплея: переменная DISPLAY не задана");
  xcb_connection_t* Connection = xcb_connect(Display.constData(), nullptr);
  const bool Failed = xcb_connection_has_error(Connection) != 0;
  xcb_disconnect(Connection);
  if (Failed)
    throw EOSError(u"Нет графического дисплея: нет связи с X-сервером " +
                   Utf8ToString(Display.toStdString()));
}

namespace {
// The platform's own texts (file and print dialogs, standard buttons) in Russian, once.
void LoadPlatformTranslation() {
  static bool Loaded = false;
  if (Loaded || !qApp) return;
  Loaded = true;
  auto* Translator = new QTranslator(qApp);
  if (Translator->load(QStringLiteral("qtbase_ru"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(Translator);
}
// The platform's application object. A handler's exception that reaches the platform's event
// delivery (a key, a click, an activation coming from the window system) is shown by the
// application's exception display and the loop goes on, as for queued messages; left to the
// platform it would end the program.
class TPlatformApplication : public QApplication {
public:
  using QApplication::QApplication;
  bool notify(QObject* Receiver, QEvent* Event) override {
    try {
      return QApplication::notify(Receiver, Event);
    } catch (const Exception& E) {
      if (Application) Application->HandleException(Application, E);
      return true;
    }
  }
};
}  // namespace

void TApplication::Initialize() {
  if (!QApplication::instance()) {
    CheckDisplay();
    new TPlatformApplication(Argc, Argv);
    FOwnsPlatformApp = true;
    if (Screen) Screen->RefreshMonitors();
  }
  LoadPlatformTranslation();
  if (!FTitle.empty()) SetTitle(FTitle);
  WatchActivation();
}

void TApplication::SetActive(bool Value) {
  if (FActive == Value) return;
  FActive = Value;
  if (FActive) return;
  ForgetAltPress();   // an Alt+Tab away: its release on return must not open the menu bar
  CancelHint();
  FilterOutsideClick(nullptr, {INT_MIN, INT_MIN});
  if (CaptureControl()) SetCapture(nullptr);   // the holder gets WM_CANCELMODE
}

void TApplication::AddForm(TCustomForm* Form) {
  if (!FMainForm) FMainForm = Form;
}

void TApplication::Run() {
  Initialize();
  if (FMainForm && FShowMainForm) FMainForm->Show();
  while (!FTerminated) HandleMessage();
}

bool DeliverQueuedMessages() {
  bool Any = false;
  CheckTimers();
  TMsg M;
  while (PeekMessage(M, nullptr, 0, 0, PM_REMOVE)) {
    Any = true;
    if (M.message == WM_QUIT) {
      Application->Terminate();
      return true;
    }
    try {
      if (Application->OnMessage()) {
        bool Handled = false;
        Application->OnMessage()(M, Handled);
        if (Handled) continue;
      }
      DispatchMessage(M);
    } catch (const Exception& E) {
      Application->HandleException(Application, E);
    }
  }
  return Any;
}

void TApplication::ProcessMessages() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
  DeliverQueuedMessages();
}

void TApplication::HandleMessage() {
  if (DeliverQueuedMessages()) return;
  Idle();
  if (QCoreApplication::instance() && !FTerminated)
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

bool TApplication::HandleModalStep() {
  if (DeliverQueuedMessages()) return true;
  if (QCoreApplication::instance() && !HasPlatformOffscreen()) {
    HandleMessage();
    return true;
  }
  // Headless: only a running timer can still bring something.
  if (NextTimerDue() >= 0) {
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return true;
  }
  return false;
}

bool TApplication::HasPlatformOffscreen() {
  auto* App = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  return !App || QGuiApplication::platformName() == QStringLiteral("offscreen");
}

void TApplication::Idle() {
  bool Done = true;
  if (FOnIdle) FOnIdle(this, Done);
}

void TApplication::Terminate() {
  FTerminated = true;
  if (QCoreApplication::instance()) QCoreApplication::instance()->exit(0);
}

// --- exceptions ----------------------------------------------------------------------------------

void TApplication::HandleException(TObject* Sender, const Exception& E) {
  if (dynamic_cast<const EAbort*>(&E)) return;
  if (FOnException) {
    FOnException(Sender, E);
    return;
  }
  ShowException(E);
}

void TApplication::ShowException(const Exception& E) {
  String Msg = E.Message();
  if (!Msg.empty() && Msg.back() > u'.') Msg += u'.';
  MessageBox(Msg, FTitle, MB_OK | MB_ICONSTOP);
}

// The title names the program to the window system: the class of its windows (WM_CLASS) and,
// through the surfaces, their icon names; the windows' own captions stay as they are.
void TApplication::SetTitle(const String& Value) {
  FTitle = Value;
  if (QCoreApplication::instance() && !Value.empty())
    QCoreApplication::setApplicationName(QString::fromUtf16(Value.data(), qsizetype(Value.size())));
}

int TApplication::MessageBox(const String& Text, const String& Caption, unsigned Flags) {
  return ::MessageBox(Screen ? Screen->ActiveForm() : nullptr, Text, Caption.empty() ? FTitle : Caption, Flags);
}

// --- hints ---------------------------------------------------------------------------------------

void TApplication::SetShowHint(bool Value) {
  FShowHint = Value;
  if (!Value) CancelHint();
}

void TApplication::SetHint(const String& Value) {
  if (FHint == Value) return;
  FHint = Value;
  if (FOnHint) FOnHint(this);
}

String TApplication::GetShortHint(const String& Hint) {
  size_t Bar = Hint.find(u'|');
  return Bar == String::npos ? Hint : Hint.substr(0, Bar);
}

String TApplication::GetLongHint(const String& Hint) {
  size_t Bar = Hint.find(u'|');
  return Bar == String::npos ? Hint : Hint.substr(Bar + 1);
}

void TApplication::NoteMouseOver(TControl* Control) {
  if (Control == FHintControl) return;
  if (FHintControl) FHintControl->RemoveFreeNotification(this);
  FHintControl = Control;
  if (Control) Control->FreeNotification(this);
  SetHint(Control ? GetLongHint(Control->Hint()) : String());
  const bool WasShowing = FHintWindow && FHintWindow->Visible();
  CancelHint();
  if (FShowHint && Control && Control->ShowHint() && !Control->Hint().empty())
    StartHintTimer(unsigned(WasShowing ? FHintShortPause : FHintPause), false);
}

void TApplication::StartHintTimer(unsigned Interval, bool Hiding) {
  if (!FHintTimer) {
    FHintTimer = new TTimer(this);
    FHintTimer->SetOnTimer([this](TObject*) { HintTimerExpired(); });
  }
  FHintHiding = Hiding;
  FHintTimer->SetEnabled(false);
  FHintTimer->SetInterval(std::max(Interval, 1u));
  FHintTimer->SetEnabled(true);
}

void TApplication::HintTimerExpired() {
  FHintTimer->SetEnabled(false);
  if (FHintHiding) {
    CancelHint();
    return;
  }
  TPoint P;
  GetCursorPos(P);
  ActivateHint(P);
  if (FHintWindow && FHintWindow->Visible() && FHintHidePause > 0)
    StartHintTimer(unsigned(FHintHidePause), true);
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FHintControl) {
    FHintControl = nullptr;
    CancelHint();
  }
  if (AComponent == FHintWindow) FHintWindow = nullptr;
  if (AComponent == FHintTimer) FHintTimer = nullptr;
}

void TApplication::ActivateHint(TPoint CursorPos) {
  TControl* Control = FHintControl;
  if (!FShowHint || !Control || !Control->ShowHint() || Control->Hint().empty()) return;
  THintInfo Info;
  Info.HintControl = Control;
  Info.HintPos = {CursorPos.X, CursorPos.Y + 20};
  Info.HintMaxWidth = Screen ? Screen->Width() : 1024;
  Info.HintColor = FHintColor;
  Info.CursorRect = Control->ClientRect();
  Info.CursorPos = Control->ScreenToClient(CursorPos);
  Info.HideTimeout = FHintHidePause;
  Info.HintStr = GetShortHint(Control->Hint());
  if (Control->Perform(CM_HINTSHOW, 0, LPARAM(&Info)) != 0) return;
  bool CanShow = true;
  if (FOnShowHint) FOnShowHint(Info.HintStr, CanShow, Info);
  if (!CanShow || Info.HintStr.empty()) return;
  if (!FHintWindow) FHintWindow = new THintWindow(this);
  FHintWindow->SetColor(Info.HintColor);
  TRect R = FHintWindow->CalcHintRect(Info.HintMaxWidth, Info.HintStr, Info.HintData);
  OffsetRect(R, Info.HintPos.X, Info.HintPos.Y);
  FHintWindow->ActivateHintData(R, Info.HintStr, Info.HintData);
}

void TApplication::CancelHint() {
  if (FHintTimer) FHintTimer->SetEnabled(false);
  if (FHintWindow) FHintWindow->ReleaseHandle();
}

// --- drop-down click filters ---------------------------------------------------------------------

bool TApplication::FilterOutsideClick(HWND Target, TPoint ScreenPos) {
  auto Copy = FClickFilters;   // a filter may remove itself
  bool Swallow = false;
  for (auto& [Id, Filter] : Copy)
    if (Filter(Target, ScreenPos)) Swallow = true;
  return Swallow;
}

int TApplication::AddOutsideClickFilter(TOutsideClickFilter Filter) {
  FClickFilters.emplace_back(FNextFilter, std::move(Filter));
  return FNextFilter++;
}

void TApplication::RemoveOutsideClickFilter(int Id) {
  std::erase_if(FClickFilters, [Id](const auto& F) { return F.first == Id; });
}

// =================================================================================================
// TScreen
// =================================================================================================

TScreen::TScreen(TComponent* AOwner)
    : TComponent(AOwner),
      FHintFont(std::make_unique<TFont>()),
      FMenuFont(std::make_unique<TFont>()),
      FIconFont(std::make_unique<TFont>()) {
  FHintFont->SetColor(clInfoText);
}

TScreen::~TScreen() {
  if (Screen == this) Screen = nullptr;
}

TWinControl* TScreen::ActiveControl() const {
  return FActiveForm ? FActiveForm->ActiveControl() : nullptr;
}

void TScreen::AddForm(TCustomForm* Form) { FForms.push_back(Form); }

void TScreen::RemoveForm(TCustomForm* Form) {
  std::erase(FForms, Form);
  if (FActiveForm == Form) FActiveForm = nullptr;
}

void TScreen::RefreshMonitors() {
  if (FMonitorsForTests) return;
  FMonitors.clear();
  if (auto* App = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    int Num = 0;
    for (QScreen* S : App->screens()) {
      auto M = std::make_unique<TMonitor>();
      const QRect G = S->geometry(), A = S->availableGeometry();
      M->FNum = Num++;
      M->FPrimary = S == App->primaryScreen();
      M->FBounds = Bounds(G.x(), G.y(), G.width(), G.height());
      M->FWorkarea = Bounds(A.x(), A.y(), A.width(), A.height());
      FMonitors.push_back(std::move(M));
    }
  }
  if (FMonitors.empty()) {
    SetMonitorsForTests({{Rect(0, 0, 1024, 768), Rect(0, 0, 1024, 768)}});
    FMonitorsForTests = false;
  }
}

void TScreen::SetMonitorsForTests(const std::vector<std::pair<TRect, TRect>>& Monitors) {
  FMonitors.clear();
  if (Monitors.empty()) {
    FMonitorsForTests = false;   // the real monitors are read again on next use
    return;
  }
  int Num = 0;
  for (auto& [B, W] : Monitors) {
    auto M = std::make_unique<TMonitor>();
    M->FNum = Num;
    M->FPrimary = Num == 0;
    M->FBounds = B;
    M->FWorkarea = W;
    ++Num;
    FMonitors.push_back(std::move(M));
  }
  FMonitorsForTests = true;
}

int TScreen::MonitorCount() const {
  if (FMonitors.empty()) const_cast<TScreen*>(this)->RefreshMonitors();
  return int(FMonitors.size());
}

TMonitor* TScreen::Monitors(int Index) const {
  MonitorCount();
  return FMonitors.at(size_t(Index)).get();
}

TMonitor* TScreen::PrimaryMonitor() const {
  for (int I = 0; I < MonitorCount(); ++I)
    if (FMonitors[size_t(I)]->Primary()) return FMonitors[size_t(I)].get();
  return Monitors(0);
}

TMonitor* TScreen::MonitorFromPoint(TPoint P, TMonitorDefaultTo Default) const {
  return MonitorFromRect(Rect(P.X, P.Y, P.X + 1, P.Y + 1), Default);
}

TMonitor* TScreen::MonitorFromRect(const TRect& R, TMonitorDefaultTo Default) const {
  TMonitor* Best = nullptr;
  long long BestArea = 0, BestDistance = -1;
  TMonitor* Nearest = nullptr;
  for (int I = 0; I < MonitorCount(); ++I) {
    TMonitor* M = FMonitors[size_t(I)].get();
    TRect Common;
    if (IntersectRect(Common, R, M->BoundsRect())) {
      long long Area = (long long)Common.Width() * Common.Height();
      if (Area > BestArea) {
        BestArea = Area;
        Best = M;
      }
    }
    TRect B = M->BoundsRect();
    long long DX = std::max({0, B.Left - R.Right, R.Left - B.Right});
    long long DY = std::max({0, B.Top - R.Bottom, R.Top - B.Bottom});
    long long D = DX * DX + DY * DY;
    if (BestDistance < 0 || D < BestDistance) {
      BestDistance = D;
      Nearest = M;
    }
  }
  if (Best) return Best;
  if (Default == mdNull) return nullptr;
  if (Default == mdPrimary) return PrimaryMonitor();
  return Nearest;
}

TRect TScreen::WorkAreaRect() const { return PrimaryMonitor()->WorkareaRect(); }
int TScreen::Width() const { return PrimaryMonitor()->Width(); }
int TScreen::Height() const { return PrimaryMonitor()->Height(); }

void TScreen::SetCursor(TCursor Value) {
  FCursor = Value;
  SetCurrentCursor(Value == crDefault ? crArrow : Value);
  SetPlatformOverrideCursor(Value);
}

void* TScreen::Cursors(int Index) const {
  auto It = FCursors.find(Index);
  return It == FCursors.end() ? nullptr : It->second;
}

void TScreen::SetCursors(int Index, void* Handle) { FCursors[Index] = Handle; }

const std::vector<String>& TScreen::Fonts() const {
  if (FFontNames.empty() && QCoreApplication::instance()) {
    for (const QString& F : QFontDatabase::families())
      FFontNames.push_back(String(reinterpret_cast<const char16_t*>(F.utf16()), size_t(F.size())));
  }
  return FFontNames;
}
