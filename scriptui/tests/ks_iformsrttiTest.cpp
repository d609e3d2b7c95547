// ks_iformsrttiTest.cpp - a form with controls given to a script (AddForm): every adapter
// shape fired by real key and mouse input, KeyPress changing the key, CloseQuery keeping the
// form, ShowModal ended from the script.
#include <gtest/gtest.h>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/Variants.h"
#include "script/ks_iinterpreter.h"
#include "scriptui/ks_ievents.h"
#include "scriptui/ks_iformsrtti.h"

class TScriptForm : public TForm {
  VORENTA_CLASS(TScriptForm, TForm)
public:
  explicit TScriptForm(TComponent* AOwner) : TForm(AOwner) {
    SetName(u"ScriptForm1");
    SetBounds(0, 0, 300, 200);
    Edit1 = new TEdit(this);
    Edit1->SetName(u"Edit1");
    Edit1->SetParent(this);
    Edit1->SetBounds(10, 10, 100, 24);
    Button1 = new TButton(this);
    Button1->SetName(u"Button1");
    Button1->SetParent(this);
    Button1->SetBounds(10, 50, 100, 30);
  }
  TEdit* Edit1;
  TButton* Button1;
};

REGISTER_CLASS(TScriptForm) {}

namespace {

struct FormsScript : ::testing::Test {
  void SetUp() override {
    InitControls();
    ksRegisterUIModules();
    Answers = new TTestDialogAnswerer;
    Previous = SetDialogService(std::unique_ptr<IDialogService>(Answers));
    Script.AddRTTI();
    Script.AddMethod(u"procedure Out(v: Variant)", [this](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
      if (!Output.empty()) Output += u' ';
      Output += VarToStr(H->GetParam(0));
      return Variant(0);
    });
    Script.AddForm(&Form);
  }
  void TearDown() override {
    TCustomForm::SetModalHookForTests(nullptr);
    SetDialogService(std::move(Previous));
  }
  std::string Run(const String& Text) {
    static const int ProgramTag = 0;
    Script.ClearItems(&ProgramTag);
    Script.SetText(Text);
    Script.SetAddedBy(&ProgramTag);
    bool Ok = Script.Compile();
    Script.SetAddedBy(nullptr);
    if (!Ok) return "error " + StringToUtf8(Script.ErrorPos() + u" " + Script.ErrorMsg());
    Script.Execute();
    return StringToUtf8(Output);
  }

  TTestDialogAnswerer* Answers = nullptr;
  std::unique_ptr<IDialogService> Previous;
  TScriptForm Form{nullptr};
  TksScript Script;
  String Output;
};

}  // namespace

TEST_F(FormsScript, AdaptersFireFromRealInputAndCopyVarArgumentsBack) {
  ASSERT_EQ(Run(u"var Allow: Boolean;\r\nprocedure KeyDown(Sender: TObject; var Key: Word; Shift: Integer); begin Out('down ' + IntToStr(Key)) end;\r\n"
                u"procedure KeyPress(Sender: TObject; var Key: Char); begin if Key = 'a' then Key := 'b'; if Key = 'x' then Key := '' end;\r\n"
                u"procedure MouseDown(Sender: TObject; Button, Shift, X, Y: Integer); begin Out('mouse ' + IntToStr(Button) + ' ' + IntToStr(X) + ',' + IntToStr(Y)) end;\r\n"
                u"procedure Click(Sender: TObject); begin Out('click ' + TComponent(Sender).Name) end;\r\n"
                u"procedure CloseQuery(Sender: TObject; var CanClose: Boolean); begin Out('asked'); CanClose := Allow end;\r\n"
                u"procedure Closing(Sender: TObject; var Action: Integer); begin Out('closing'); Action := caHide end;\r\n"
                u"procedure Sizing(Sender: TObject; var W, H: Integer; var Resize: Boolean); begin Resize := W <= 200; H := 30 end;\r\n"
                u"procedure Moved(Sender: TObject; Shift, X, Y: Integer); begin Out('moved ' + IntToStr(X)) end;\r\n"
                u"begin with ScriptForm1 do begin Edit1.OnKeyDown := 'KeyDown'; Edit1.OnKeyPress := 'KeyPress'; Button1.OnMouseDown := 'MouseDown';\r\n"
                u"  Button1.OnClick := 'Click'; OnCloseQuery := 'CloseQuery'; OnClose := 'Closing'; Edit1.OnCanResize := 'Sizing';\r\n"
                u"  Button1.OnMouseMove := 'Moved'; Out(ClassName) end end."),
            "TScriptForm");
  Form.Show();
  Form.Edit1->SetFocus();
  Output.clear();
  SimulateKeyPress(u'A', {}, u'a');
  SimulateKeyPress(u'X', {}, u'x');
  SimulateKeyPress(u'C', {}, u'c');
  EXPECT_EQ(Form.Edit1->Text(), u"bc");
  SimulateClick(Form.Button1, {5, 6});
  SimulateMouseMove(Form.Button1->ClientToScreen({7, 8}));
  Form.Edit1->SetBounds(10, 10, 300, 24);
  EXPECT_EQ(Form.Edit1->Width(), 100);
  Form.Edit1->SetBounds(10, 10, 150, 24);
  EXPECT_EQ(Form.Edit1->Height(), 30);
  Form.Close();
  EXPECT_TRUE(Form.Visible());
  Script.AssignGlobal(u"Allow", Variant(true));
  Form.Close();
  EXPECT_FALSE(Form.Visible());
  EXPECT_EQ(Output, u"down 65 down 88 down 67 mouse 0 5,6 click Button1 moved 7 asked asked closing");
}

TEST_F(FormsScript, ShowModalEndedFromTheScript) {
  ASSERT_EQ(Run(u"procedure EndIt; begin ScriptForm1.ModalResult := mrOk end; begin end."), "");
  TCustomForm::SetModalHookForTests([this](TCustomForm*) { Script.CallFunction(u"EndIt", Variant::MakeNull()); });
  EXPECT_EQ(Form.ShowModal(), mrOk);
}

TEST_F(FormsScript, ProcedureWithMoreParametersThanTheEventIsRefused) {
  EXPECT_THROW(Run(u"procedure Three(a, b, c: Integer); begin end; begin ScriptForm1.Button1.OnClick := 'Three' end."),
               Exception);
  EXPECT_THROW(Run(u"begin Application.Free end."), EInvalidOperation);
}

TEST_F(FormsScript, MessageAndInputDialogsAnsweredByTheService) {
  Answers->MessageAnswers.push_back(mrNo);
  Answers->MessageAnswers.push_back(mrOk);
  Answers->InputAnswers.push_back([](TInputQueryRequest& R) {
    R.Value = R.Value + u"!";
    return true;
  });
  Answers->InputAnswers.push_back([](TInputQueryRequest&) { return false; });
  EXPECT_EQ(Run(u"var s: String; begin Out(MessageDlg('Delete?', mtConfirmation, mbYes + mbNo, 0)); s := 'paint';\r\n"
                u"  Out(InputQuery('Title', 'Name:', s)); Out(s); Out(InputBox('T', 'P', 'dflt')); ShowMessage('done') end."),
            "7 True paint! dflt");
  ASSERT_EQ(Answers->Messages.size(), 2u);
  EXPECT_EQ(Answers->Messages[0].Text, u"Delete?");
  EXPECT_EQ(Answers->Messages[0].Type, mtConfirmation);
  EXPECT_EQ(Answers->Messages[0].Buttons, (std::vector<TMsgDlgBtn>{mbYes, mbNo}));
  EXPECT_EQ(Answers->Messages[1].Text, u"done");
}

TEST_F(FormsScript, BitmapCanvasAndMetafileFromScripts) {
  EXPECT_EQ(Run(u"var b: TBitmap; g: TGraphic; m: TMetafile; c: TMetafileCanvas; begin\r\n"
                u"  b := TBitmap.Create; b.Width := 20; b.Height := 10; Out(b.Width);\r\n"
                u"  b.Canvas.Pixels[3, 4] := clRed; Out(b.Canvas.Pixels[3, 4] = clRed); Out(b.Canvas.Pixels[5, 5] = clRed);\r\n"
                u"  b.Canvas.MoveTo(0, 0); b.Canvas.LineTo(19, 9); b.Canvas.Rectangle(1, 1, 5, 5);\r\n"
                u"  m := TMetafile.Create; c := TMetafileCanvas.Create(m, 0); c.Ellipse(0, 0, 4, 4); c.Free;\r\n"
                u"  try TMetafileCanvas.Create(m, 7) except Out(ExceptionMessage) end; m.Free; b.Free end."),
            "20 True False The reference device must be 0 (the screen)");
}

TEST_F(FormsScript, AddEventNamesTheAdapter) {
  // OnClick bound through the key adapter: the handler types differ, so the binding is refused.
  Script.FindClass(u"TButton")->AddEvent(u"OnClick", ksKeyEventClass());
  EXPECT_THROW(Run(u"procedure Click(Sender: TObject); begin end; begin ScriptForm1.Button1.OnClick := 'Click' end."),
               EPropertyError);
}
