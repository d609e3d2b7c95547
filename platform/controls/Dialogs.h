// Dialogs.h - message boxes and the common dialogs, behind one service that tests can answer.
//
// Every message box (MessageBox, MessageDlg, Application->MessageBox) and every common dialog
// (open and save file, font, colour, print, printer setup) is a request to the dialog service.
// The default service shows Qt dialogs with the Russian button captions "ОК", "Отмена", "Да",
// "Нет", ...; tests install a TTestDialogAnswerer that records each request and answers from
// a script, so no test ever waits for a person.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "platform/controls/Controls.h"

// --- message box flags and answers (Win32 values) ------------------------------------------------
enum : unsigned {
  MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4,
  MB_RETRYCANCEL = 0x5, MB_TYPEMASK = 0xF,
  MB_ICONHAND = 0x10, MB_ICONERROR = 0x10, MB_ICONSTOP = 0x10, MB_ICONQUESTION = 0x20,
  MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30, MB_ICONASTERISK = 0x40,
  MB_ICONINFORMATION = 0x40, MB_ICONMASK = 0xF0,
  MB_DEFBUTTON1 = 0x000, MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200, MB_DEFMASK = 0xF00,
  MB_APPLMODAL = 0x0, MB_TASKMODAL = 0x2000
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

VORENTA_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom);
VORENTA_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll,
             mbNoToAll, mbYesToAll, mbHelp);
VORENTA_SET(TMsgDlgButtons, TMsgDlgBtn);
constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
constexpr TMsgDlgButtons mbYesAllNoAllCancel{mbYes, mbYesToAll, mbNo, mbNoToAll, mbCancel};
constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// The caption of a button ("ОК", "Отмена", "Да", "Нет", ...) and the modal result it gives.
String MsgDlgButtonCaption(TMsgDlgBtn Button);
TModalResult MsgDlgButtonResult(TMsgDlgBtn Button);
// The caption of a message dialog of a type ("Предупреждение", "Ошибка", "Информация",
// "Подтверждение"; empty for mtCustom: the application's title).
String MsgDlgTypeCaption(TMsgDlgType Type);

// One message box as the service receives it.
struct TMessageBoxRequest {
  String Text;
  String Caption;
  TMsgDlgType Type = mtCustom;
  std::vector<TMsgDlgBtn> Buttons;   // in display order
  int DefaultIndex = 0;              // index into Buttons
};

// --- common dialogs ------------------------------------------------------------------------------

VORENTA_ENUM(TFileDialogKind, fdOpen, fdSave);
VORENTA_ENUM(TOpenOption, ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir,
             ofShowHelp, ofNoValidate, ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist,
             ofFileMustExist, ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate,
             ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks,
             ofEnableIncludeNotify, ofEnableSizing, ofDontAddToRecent, ofForceShowHidden);
VORENTA_SET(TOpenOptions, TOpenOption);

struct TFileDialogRequest {
  TFileDialogKind Kind = fdOpen;
  String Title;
  String InitialDir;
  String FileName;
  String Filter;        // "Описание|*.ext|..." pairs
  int FilterIndex = 1;  // 1-based
  String DefaultExt;
  TOpenOptions Options;
  // The answer.
  std::vector<String> Files;
};

struct TFontDialogRequest {
  TFont* Font = nullptr;   // in: the current font; out: the chosen one
};

struct TColorDialogRequest {
  TColor Color = clBlack;
};

struct TPrintDialogRequest {
  bool Setup = false;     // the printer setup dialog rather than the print dialog
  String PrinterName;
  int Copies = 1;
  int FromPage = 0, ToPage = 0, MinPage = 0, MaxPage = 0;
  bool PrintRange = false;   // pages From..To chosen
};

// One line of text asked for (InputBox, InputQuery): Value is the text shown and the answer.
struct TInputQueryRequest {
  String Caption;
  String Prompt;
  String Value;
};

// The service. Each call shows the dialog and answers: a modal result for message boxes,
// true (accepted) or false (cancelled) for the common dialogs, which fill in their request.
class IDialogService {
public:
  virtual ~IDialogService() = default;
  virtual TModalResult MessageBox(const TMessageBoxRequest& Request) = 0;
  virtual bool FileDialog(TFileDialogRequest& Request) = 0;
  virtual bool FontDialog(TFontDialogRequest& Request) = 0;
  virtual bool ColorDialog(TColorDialogRequest& Request) = 0;
  virtual bool PrintDialog(TPrintDialogRequest& Request) = 0;
  virtual bool InputQuery(TInputQueryRequest& Request) = 0;
};

IDialogService& DialogService();
// Installs a service (nullptr: the default one); returns the previous one, which the caller
// then owns.
std::unique_ptr<IDialogService> SetDialogService(std::unique_ptr<IDialogService> Service);

// --- message boxes -------------------------------------------------------------------------------

// MessageBox with MB_* flags; answers IDOK, IDCANCEL, IDYES, ...
int MessageBox(HWND Wnd, const String& Text, const String& Caption, unsigned Flags);
TModalResult MessageDlg(const String& Msg, TMsgDlgType Type, TMsgDlgButtons Buttons,
                        int HelpContext = 0);
TModalResult MessageDlg(const String& Msg, TMsgDlgType Type, TMsgDlgButtons Buttons,
                        int HelpContext, TMsgDlgBtn DefaultButton);
void ShowMessage(const String& Msg);
// Asks for one line of text: true with Value changed when accepted, false (Value kept) when
// cancelled. InputBox gives the answer, or Default when cancelled.
bool InputQuery(const String& Caption, const String& Prompt, String& Value);
String InputBox(const String& Caption, const String& Prompt, const String& Default);

// --- the common dialog components ----------------------------------------------------------------

// The base of the common dialogs: Execute shows the dialog and says whether it was accepted.
class TCommonDialog : public TComponent {
  VORENTA_CLASS(TCommonDialog, TComponent)
public:
  using TComponent::TComponent;
  virtual bool Execute() = 0;
};

class TOpenDialog : public TCommonDialog {
  VORENTA_CLASS(TOpenDialog, TCommonDialog)
public:
  explicit TOpenDialog(TComponent* AOwner);
  bool Execute() override;
  const String& FileName() const { return FFileName; }
  void SetFileName(const String& Value) { FFileName = Value; }
  const std::vector<String>& Files() const { return FFiles; }
  const String& Filter() const { return FFilter; }
  void SetFilter(const String& Value) { FFilter = Value; }
  int FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(int Value) { FFilterIndex = Value; }
  const String& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const String& Value) { FInitialDir = Value; }
  const String& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const String& Value) { FDefaultExt = Value; }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }
  TOpenOptions Options() const { return FOptions; }
  void SetOptions(TOpenOptions Value) { FOptions = Value; }

protected:
  bool DoExecute(TFileDialogKind Kind);

private:
  String FFileName, FFilter, FInitialDir, FDefaultExt, FTitle;
  std::vector<String> FFiles;
  int FFilterIndex = 1;
  TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
};

class TSaveDialog : public TOpenDialog {
  VORENTA_CLASS(TSaveDialog, TOpenDialog)
public:
  using TOpenDialog::TOpenDialog;
  bool Execute() override;
};

class TFontDialog : public TCommonDialog {
  VORENTA_CLASS(TFontDialog, TCommonDialog)
public:
  explicit TFontDialog(TComponent* AOwner);
  ~TFontDialog() override;
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool Execute() override;

private:
  std::unique_ptr<TFont> FFont;
};

class TColorDialog : public TCommonDialog {
  VORENTA_CLASS(TColorDialog, TCommonDialog)
public:
  using TCommonDialog::TCommonDialog;
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  bool Execute() override;

private:
  TColor FColor = clBlack;
};

class TPrintDialog : public TCommonDialog {
  VORENTA_CLASS(TPrintDialog, TCommonDialog)
public:
  using TCommonDialog::TCommonDialog;
  bool Execute() override;
  int Copies() const { return FRequest.Copies; }
  void SetCopies(int Value) { FRequest.Copies = Value; }
  int FromPage() const { return FRequest.FromPage; }
  void SetFromPage(int Value) { FRequest.FromPage = Value; }
  int ToPage() const { return FRequest.ToPage; }
  void SetToPage(int Value) { FRequest.ToPage = Value; }
  int MinPage() const { return FRequest.MinPage; }
  void SetMinPage(int Value) { FRequest.MinPage = Value; }
  int MaxPage() const { return FRequest.MaxPage; }
  void SetMaxPage(int Value) { FRequest.MaxPage = Value; }
  bool PrintRange() const { return FRequest.PrintRange; }
  const String& PrinterName() const { return FRequest.PrinterName; }
  void SetPrinterName(const String& Value) { FRequest.PrinterName = Value; }

protected:
  TPrintDialogRequest FRequest;
};

class TPrinterSetupDialog : public TPrintDialog {
  VORENTA_CLASS(TPrinterSetupDialog, TPrintDialog)
public:
  using TPrintDialog::TPrintDialog;
  bool Execute() override;
};

// --- for tests -----------------------------------------------------------------------------------

// Records every request and answers from queues; an unexpected dialog (empty queue) raises
// EInvalidOperation naming the text, so a test never hangs on a dialog nobody expected.
class TTestDialogAnswerer : public IDialogService {
public:
  std::deque<TModalResult> MessageAnswers;
  // Each common-dialog answer fills the request and returns accepted or not.
  std::deque<std::function<bool(TFileDialogRequest&)>> FileAnswers;
  std::deque<std::function<bool(TFontDialogRequest&)>> FontAnswers;
  std::deque<std::function<bool(TColorDialogRequest&)>> ColorAnswers;
  std::deque<std::function<bool(TPrintDialogRequest&)>> PrintAnswers;
  std::deque<std::function<bool(TInputQueryRequest&)>> InputAnswers;
  std::vector<TMessageBoxRequest> Messages;   // every message box shown, in order

  TModalResult MessageBox(const TMessageBoxRequest& Request) override;
  bool FileDialog(TFileDialogRequest& Request) override;
  bool FontDialog(TFontDialogRequest& Request) override;
  bool ColorDialog(TColorDialogRequest& Request) override;
  bool PrintDialog(TPrintDialogRequest& Request) override;
  bool InputQuery(TInputQueryRequest& Request) override;
};
