// Dialogs.cpp - message boxes, the common dialog components, the test answerer and the default
// dialog service over Qt dialogs.
#include "platform/controls/Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Forms.h"

REGISTER_CLASS(TCommonDialog) {}
REGISTER_CLASS(TOpenDialog) {}
REGISTER_CLASS(TSaveDialog) {}
REGISTER_CLASS(TFontDialog) {}
REGISTER_CLASS(TColorDialog) {}
REGISTER_CLASS(TPrintDialog) {}
REGISTER_CLASS(TPrinterSetupDialog) {}

// ORDER MSGDLGBTN: the tables follow TMsgDlgBtn.
String MsgDlgButtonCaption(TMsgDlgBtn Button) {
  static const char16_t* const Captions[] = {u"Да", u"Нет", u"ОК", u"Отмена", u"Прервать",
                                             u"Повтор", u"Пропустить", u"Все", u"Нет для всех",
                                             u"Да для всех", u"Справка"};
  return Captions[Button];
}

TModalResult MsgDlgButtonResult(TMsgDlgBtn Button) {
  static const TModalResult Results[] = {mrYes, mrNo, mrOk, mrCancel, mrAbort, mrRetry,
                                         mrIgnore, mrAll, mrNoToAll, mrYesToAll, mrNone};
  return Results[Button];
}

String MsgDlgTypeCaption(TMsgDlgType Type) {
  switch (Type) {
    case mtWarning: return u"Предупреждение";
    case mtError: return u"Ошибка";
    case mtInformation: return u"Информация";
    case mtConfirmation: return u"Подтверждение";
    default: return String();
  }
}

namespace {

QString Q(const String& S) { return QString::fromUtf16(S.data(), qsizetype(S.size())); }
String S(const QString& Q) { return String(reinterpret_cast<const char16_t*>(Q.utf16()), size_t(Q.size())); }

// The default service: Qt's dialogs, parented to the active form's window when there is one.
class TQtDialogService : public IDialogService {
public:
  TModalResult MessageBox(const TMessageBoxRequest& R) override {
    RequireApplication();
    QMessageBox Box;
    Box.setWindowTitle(Q(R.Caption));
    Box.setText(Q(R.Text));
    switch (R.Type) {
      case mtWarning: Box.setIcon(QMessageBox::Warning); break;
      case mtError: Box.setIcon(QMessageBox::Critical); break;
      case mtInformation: Box.setIcon(QMessageBox::Information); break;
      case mtConfirmation: Box.setIcon(QMessageBox::Question); break;
      default: break;
    }
    std::vector<std::pair<QAbstractButton*, TMsgDlgBtn>> Buttons;
    for (size_t I = 0; I < R.Buttons.size(); ++I) {
      const TMsgDlgBtn B = R.Buttons[I];
      auto Role = (B == mbCancel || B == mbNo || B == mbAbort) ? QMessageBox::RejectRole
                                                               : QMessageBox::AcceptRole;
      QPushButton* Button = Box.addButton(Q(MsgDlgButtonCaption(B)), Role);
      if (int(I) == R.DefaultIndex) Box.setDefaultButton(Button);
      if (B == mbCancel) Box.setEscapeButton(Button);
      Buttons.emplace_back(Button, B);
    }
    Box.exec();
    for (auto& [Button, B] : Buttons)
      if (Box.clickedButton() == Button) return MsgDlgButtonResult(B);
    return mrCancel;
  }

  bool FileDialog(TFileDialogRequest& R) override {
    RequireApplication();
    QString Filter;
    String Source = R.Filter;
    std::vector<String> Parts;
    size_t Start = 0;
    while (Start <= Source.size()) {
      size_t Bar = Source.find(u'|', Start);
      if (Bar == String::npos) Bar = Source.size();
      Parts.push_back(Source.substr(Start, Bar - Start));
      Start = Bar + 1;
    }
    QStringList Filters;
    for (size_t I = 0; I + 1 < Parts.size(); I += 2) {
      QString Patterns = Q(Parts[I + 1]).replace(u';', u' ');
      Filters << Q(Parts[I]) + " (" + Patterns + ")";
    }
    QFileDialog Dialog(nullptr, Q(R.Title), Q(R.InitialDir));
    Dialog.setNameFilters(Filters);
    if (R.FilterIndex >= 1 && R.FilterIndex <= Filters.size()) Dialog.selectNameFilter(Filters[R.FilterIndex - 1]);
    Dialog.setAcceptMode(R.Kind == fdSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (R.Kind == fdOpen)
      Dialog.setFileMode(R.Options.Contains(ofAllowMultiSelect) ? QFileDialog::ExistingFiles
                                                                : QFileDialog::ExistingFile);
    if (!R.DefaultExt.empty()) Dialog.setDefaultSuffix(Q(R.DefaultExt));
    if (!R.FileName.empty()) Dialog.selectFile(Q(R.FileName));
    if (Dialog.exec() != QDialog::Accepted) return false;
    R.Files.clear();
    for (const QString& F : Dialog.selectedFiles()) R.Files.push_back(S(F));
    R.FilterIndex = int(Filters.indexOf(Dialog.selectedNameFilter())) + 1;
    return !R.Files.empty();
  }

  bool FontDialog(TFontDialogRequest& R) override {
    RequireApplication();
    QFont Initial(Q(R.Font->Name()), R.Font->Size());
    Initial.setBold(R.Font->Style().Contains(fsBold));
    Initial.setItalic(R.Font->Style().Contains(fsItalic));
    bool Ok = false;
    QFont Chosen = QFontDialog::getFont(&Ok, Initial);
    if (!Ok) return false;
    R.Font->SetName(S(Chosen.family()));
    R.Font->SetSize(Chosen.pointSize());
    TFontStyles Style;
    if (Chosen.bold()) Style << fsBold;
    if (Chosen.italic()) Style << fsItalic;
    if (Chosen.underline()) Style << fsUnderline;
    if (Chosen.strikeOut()) Style << fsStrikeOut;
    R.Font->SetStyle(Style);
    return true;
  }

  bool ColorDialog(TColorDialogRequest& R) override {
    RequireApplication();
    const TColorRef C = ColorToRGB(R.Color);
    QColor Chosen = QColorDialog::getColor(QColor(GetRValue(C), GetGValue(C), GetBValue(C)));
    if (!Chosen.isValid()) return false;
    R.Color = TColor(RGB(Chosen.red(), Chosen.green(), Chosen.blue()));
    return true;
  }

  bool PrintDialog(TPrintDialogRequest&) override {
    // The printing layer installs a service that knows the printers; without it there are none.
    throw EPrinter(u"There is no default printer currently selected");
  }

  bool InputQuery(TInputQueryRequest& R) override {
    RequireApplication();
    bool Ok = false;
    QString Text = QInputDialog::getText(nullptr, Q(R.Caption), Q(R.Prompt), QLineEdit::Normal, Q(R.Value), &Ok);
    if (Ok) R.Value = Text.toStdU16String();
    return Ok;
  }

private:
  static void RequireApplication() {
    if (!QApplication::instance())
      throw EInvalidOperation(u"Dialogs need the application's window system (Application->Initialize)");
  }
};

std::unique_ptr<IDialogService>& ServiceSlot() {
  static std::unique_ptr<IDialogService> Service = std::make_unique<TQtDialogService>();
  return Service;
}

std::vector<TMsgDlgBtn> ButtonsInOrder(TMsgDlgButtons Buttons) {
  std::vector<TMsgDlgBtn> Result;
  for (int B = mbYes; B <= mbHelp; ++B)
    if (Buttons.Contains(TMsgDlgBtn(B))) Result.push_back(TMsgDlgBtn(B));
  return Result;
}

[[noreturn]] void Unexpected(const char16_t* What, const String& Detail) {
  throw EInvalidOperation(String(u"Unexpected ") + What + u": " + Detail);
}

}  // namespace

IDialogService& DialogService() { return *ServiceSlot(); }

std::unique_ptr<IDialogService> SetDialogService(std::unique_ptr<IDialogService> Service) {
  auto Old = std::move(ServiceSlot());
  ServiceSlot() = Service ? std::move(Service) : std::make_unique<TQtDialogService>();
  return Old;
}

// --- message boxes -------------------------------------------------------------------------------

int MessageBox(HWND, const String& Text, const String& Caption, unsigned Flags) {
  TMessageBoxRequest R;
  R.Text = Text;
  R.Caption = Caption;
  switch (Flags & MB_ICONMASK) {
    case MB_ICONERROR: R.Type = mtError; break;
    case MB_ICONQUESTION: R.Type = mtConfirmation; break;
    case MB_ICONWARNING: R.Type = mtWarning; break;
    case MB_ICONINFORMATION: R.Type = mtInformation; break;
    default: R.Type = mtCustom;
  }
  switch (Flags & MB_TYPEMASK) {
    case MB_OKCANCEL: R.Buttons = {mbOK, mbCancel}; break;
    case MB_ABORTRETRYIGNORE: R.Buttons = {mbAbort, mbRetry, mbIgnore}; break;
    case MB_YESNOCANCEL: R.Buttons = {mbYes, mbNo, mbCancel}; break;
    case MB_YESNO: R.Buttons = {mbYes, mbNo}; break;
    case MB_RETRYCANCEL: R.Buttons = {mbRetry, mbCancel}; break;
    default: R.Buttons = {mbOK}; break;
  }
  R.DefaultIndex = std::min(int((Flags & MB_DEFMASK) >> 8), int(R.Buttons.size()) - 1);
  // IDOK..IDNO have the values of mrOk..mrNo.
  return DialogService().MessageBox(R);
}

TModalResult MessageDlg(const String& Msg, TMsgDlgType Type, TMsgDlgButtons Buttons, int HelpContext,
                        TMsgDlgBtn DefaultButton) {
  (void)HelpContext;
  TMessageBoxRequest R;
  R.Text = Msg;
  R.Type = Type;
  R.Caption = MsgDlgTypeCaption(Type);
  if (R.Caption.empty() && Application) R.Caption = Application->Title();
  R.Buttons = ButtonsInOrder(Buttons);
  for (size_t I = 0; I < R.Buttons.size(); ++I)
    if (R.Buttons[I] == DefaultButton) R.DefaultIndex = int(I);
  return DialogService().MessageBox(R);
}

TModalResult MessageDlg(const String& Msg, TMsgDlgType Type, TMsgDlgButtons Buttons, int HelpContext) {
  // The default button: OK, else Yes, else the first.
  TMsgDlgBtn Default = Buttons.Contains(mbOK) ? mbOK : Buttons.Contains(mbYes) ? mbYes : mbHelp;
  if (Default == mbHelp)
    for (int B = mbYes; B <= mbHelp; ++B)
      if (Buttons.Contains(TMsgDlgBtn(B))) {
        Default = TMsgDlgBtn(B);
        break;
      }
  return MessageDlg(Msg, Type, Buttons, HelpContext, Default);
}

bool InputQuery(const String& Caption, const String& Prompt, String& Value) {
  TInputQueryRequest Request{Caption, Prompt, Value};
  if (!DialogService().InputQuery(Request)) return false;
  Value = Request.Value;
  return true;
}

String InputBox(const String& Caption, const String& Prompt, const String& Default) {
  String Value = Default;
  return InputQuery(Caption, Prompt, Value) ? Value : Default;
}

void ShowMessage(const String& Msg) {
  TMessageBoxRequest R;
  R.Text = Msg;
  R.Caption = Application ? Application->Title() : String();
  R.Buttons = {mbOK};
  DialogService().MessageBox(R);
}

// --- components ----------------------------------------------------------------------------------

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

bool TOpenDialog::DoExecute(TFileDialogKind Kind) {
  TFileDialogRequest R;
  R.Kind = Kind;
  R.Title = FTitle;
  R.InitialDir = FInitialDir;
  R.FileName = FFileName;
  R.Filter = FFilter;
  R.FilterIndex = FFilterIndex;
  R.DefaultExt = FDefaultExt;
  R.Options = FOptions;
  if (!DialogService().FileDialog(R) || R.Files.empty()) return false;
  FFiles = R.Files;
  FFileName = R.Files.front();
  FFilterIndex = R.FilterIndex;
  return true;
}

bool TOpenDialog::Execute() { return DoExecute(fdOpen); }
bool TSaveDialog::Execute() { return DoExecute(fdSave); }

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFont(std::make_unique<TFont>()) {}
TFontDialog::~TFontDialog() = default;

bool TFontDialog::Execute() {
  TFont Working;
  Working.Assign(FFont.get());
  TFontDialogRequest R{&Working};
  if (!DialogService().FontDialog(R)) return false;
  FFont->Assign(&Working);
  return true;
}

bool TColorDialog::Execute() {
  TColorDialogRequest R{FColor};
  if (!DialogService().ColorDialog(R)) return false;
  FColor = R.Color;
  return true;
}

bool TPrintDialog::Execute() {
  TPrintDialogRequest R = FRequest;
  R.Setup = false;
  if (!DialogService().PrintDialog(R)) return false;
  FRequest = R;
  return true;
}

bool TPrinterSetupDialog::Execute() {
  TPrintDialogRequest R = FRequest;
  R.Setup = true;
  if (!DialogService().PrintDialog(R)) return false;
  FRequest = R;
  return true;
}

// --- the test answerer ---------------------------------------------------------------------------

TModalResult TTestDialogAnswerer::MessageBox(const TMessageBoxRequest& Request) {
  Messages.push_back(Request);
  if (MessageAnswers.empty()) Unexpected(u"message box", Request.Text);
  TModalResult Answer = MessageAnswers.front();
  MessageAnswers.pop_front();
  return Answer;
}

namespace {
template <class R>
bool Answer(std::deque<std::function<bool(R&)>>& Queue, R& Request, const char16_t* What) {
  if (Queue.empty()) Unexpected(What, String());
  auto F = std::move(Queue.front());
  Queue.pop_front();
  return F(Request);
}
}  // namespace

bool TTestDialogAnswerer::FileDialog(TFileDialogRequest& Request) {
  return Answer(FileAnswers, Request, u"file dialog");
}
bool TTestDialogAnswerer::FontDialog(TFontDialogRequest& Request) {
  return Answer(FontAnswers, Request, u"font dialog");
}
bool TTestDialogAnswerer::ColorDialog(TColorDialogRequest& Request) {
  return Answer(ColorAnswers, Request, u"colour dialog");
}
bool TTestDialogAnswerer::PrintDialog(TPrintDialogRequest& Request) {
  return Answer(PrintAnswers, Request, u"print dialog");
}
bool TTestDialogAnswerer::InputQuery(TInputQueryRequest& Request) {
  return Answer(InputAnswers, Request, u"input query");
}
